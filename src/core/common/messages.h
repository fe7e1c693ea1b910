#pragma once
// The application's general error box and message boxes, reached through one
// seam. The program installs a sink that shows a real box; tests install one
// that records the text, so that nothing ever blocks on a modal dialog.

#include "errors.h"

#include <QString>
#include <QStringList>
#include <exception>
#include <functional>

enum class MessageKind { Error, Information };
using MessageSink = std::function<void(MessageKind, const QString &)>;

// Installs the sink and returns the previous one.
MessageSink setMessageSink(MessageSink sink);

void showError(const QString &text);
void showMessage(const QString &text);

// A question answered with OK or Cancel, asked before an action that
// replaces or deletes the user's data: true for OK. With no box installed the
// answer is Cancel, so nothing is done unasked.
using QuestionSink = std::function<bool(const QString &)>;
QuestionSink setQuestionSink(QuestionSink sink);
bool confirm(const QString &question);

// A question with answers of its own ("Remplacer", "Garder les deux",
// "Annuler"): the box shows one button per answer, in order, with the
// default one under Enter and the escape one under Escape and the close box.
struct Choice {
    QString question;
    QStringList answers;
    int defaultAnswer = 0;
    int escapeAnswer = 0;
};
// Returns the index of the answer chosen. With no box installed the answer is
// the escape one, so nothing is replaced or dropped unasked.
using ChoiceSink = std::function<int(const Choice &)>;
ChoiceSink setChoiceSink(ChoiceSink sink);
int choose(const Choice &choice);
// A question answered "Oui" or "Non", "Non" being both the default and the
// escape answer: true for "Oui".
bool askYesNo(const QString &question);

// Runs one handler body. A RuntimeError (or any other exception) stops the
// body where it was raised and its text goes to the error box; what the body
// already did stays done. Returns true when the body ran to its end.
template <class F>
bool guarded(F &&body)
{
    try {
        body();
        return true;
    } catch (const RuntimeError &e) {
        showError(e.message());
    } catch (const std::exception &e) {
        showError(QString::fromLocal8Bit(e.what()));
    }
    return false;
}
