#include "draw/Abandon.h"

#include "app/MainScreen.h"
#include "app/PictureBox.h"
#include "app/Session.h"
#include "draw/DrawCycle.h"

namespace pd {

void abandonWinner(MainScreen& screen, Session& session, DrawCycle& cycle)
{
    DrawState& state = session.state;
    if (state.nextOrdinal <= 1)
        return;
    const MessageAnswer answer =
        session.dialogs.message(QStringLiteral("确定放弃当前中奖人的奖项吗？"),
                                QStringLiteral("确定放弃当前奖项？"), MessageStyle::OkCancel);
    if (answer != MessageAnswer::Ok)
        return;
    state.nextOrdinal -= 1;
    cycle.updateProgress(state.nextOrdinal - 1, false);
    closeTier(state, session.store, screen.chooserText());
    session.results.appendAbandonLine();
    screen.图片框_照片->clearPicture();
    screen.透明标签_恭喜->clear();
}

} // namespace pd
