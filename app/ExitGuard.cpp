#include "app/ExitGuard.h"

namespace pd {

bool confirmExit(Dialogs& dialogs, Desktop& desktop)
{
    const MessageAnswer answer = dialogs.message(
        QStringLiteral("程序退出后再运行，将是完全重新抽奖！再次抽奖时，上次抽奖结果将被覆盖，"
                       "请注意另存！确定退出程序吗？"),
        QStringLiteral("确定退出吗？"), MessageStyle::OkCancel);
    if (answer != MessageAnswer::Ok)
        return false;
    desktop.exitProcess(0);
    return true;
}

} // namespace pd
