#include "messages.h"

#include <QDebug>

namespace {
MessageSink &sink()
{
    static MessageSink s = [](MessageKind, const QString &text) { qWarning().noquote() << text; };
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
