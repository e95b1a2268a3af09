#include "platform/FakePlatform.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace pd {

namespace {
template <typename T> std::optional<T> takeFront(std::deque<std::optional<T>>& queue)
{
    std::optional<T> answer;
    if (!queue.empty()) {
        answer = std::move(queue.front());
        queue.pop_front();
    }
    return answer;
}
} // namespace

MessageAnswer FakeDialogs::message(const QString& text, const QString& caption, MessageStyle style)
{
    messages.append({text, caption.isEmpty() ? QStringLiteral("信息：") : caption, style});
    if (messageAnswers.empty())
        return MessageAnswer::Ok;
    const MessageAnswer answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}

std::optional<QString> FakeDialogs::input(const QString& caption, const QString&,
                                          const QString& initial)
{
    inputCaptions.append(caption);
    inputInitials.append(initial);
    return takeFront(inputAnswers);
}

std::optional<QString> FakeDialogs::openFile(const QString& filter)
{
    fileFilters.append(filter);
    return takeFront(fileAnswers);
}

std::optional<FontChoice> FakeDialogs::chooseFont()
{
    ++fontDialogsShown;
    return takeFront(fontAnswers);
}

void FakeDesktop::waitProcessingEvents(int ms)
{
    waits.append(ms);
    const int effective = waitOverrideMs >= 0 ? waitOverrideMs : ms;
    QDeadlineTimer deadline(effective);
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    } while (!deadline.hasExpired());
}

} // namespace pd
