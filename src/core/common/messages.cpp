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
