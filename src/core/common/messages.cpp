#include "messages.h"

#include <QDebug>

namespace {
MessageSink &sink()
{
    static MessageSink s = [](MessageKind, const QString &text) { qWarning().noquote() << text; };
    return s;
}
QuestionSink &questionSink()
{
    static QuestionSink s = [](const QString &question) {
        qWarning().noquote() << question;
        return false;
    };
    return s;
}
ChoiceSink &choiceSink()
{
    static ChoiceSink s = [](const Choice &choice) {
        qWarning().noquote() << choice.question;
        return choice.escapeAnswer;
    };
    return s;
}
} // namespace

MessageSink setMessageSink(MessageSink next)
{
    MessageSink previous = std::move(sink());
    sink() = std::move(next);
    return previous;
}

void showError(const QString &text) { sink()(MessageKind::Error, text); }
void showMessage(const QString &text) { sink()(MessageKind::Information, text); }

QuestionSink setQuestionSink(QuestionSink next)
{
    QuestionSink previous = std::move(questionSink());
    questionSink() = std::move(next);
    return previous;
}

bool confirm(const QString &question) { return questionSink()(question); }

ChoiceSink setChoiceSink(ChoiceSink next)
{
    ChoiceSink previous = std::move(choiceSink());
    choiceSink() = std::move(next);
    return previous;
}

int choose(const Choice &choice)
{
    const int answer = choiceSink()(choice);
    // An answer out of range (a box closed some other way) counts as Escape.
    return answer >= 0 && answer < choice.answers.size() ? answer : choice.escapeAnswer;
}

bool askYesNo(const QString &question)
{
    return choose({question, {QStringLiteral("Oui"), QStringLiteral("Non")}, 1, 1}) == 0;
}
