#include "draw/TierChooser.h"

#include "app/MainScreen.h"
#include "app/PictureBox.h"
#include "app/PrizeFrame.h"
#include "app/Session.h"

#include <QLineEdit>

namespace pd {

TierChooser::TierChooser(MainScreen& screen, Session& session, QObject* parent)
    : QObject(parent), m_screen(screen), m_session(session)
{
    // textEdited comes only from the operator's typing; activated only from a choice in the
    // list, whose text the combo box then sets without a further edit.
    connect(m_screen.组合框1->lineEdit(), &QLineEdit::textEdited, this,
            [this] { chooseTier(false); });
    connect(m_screen.组合框1, &QComboBox::activated, this, [this] { chooseTier(true); });
}

void TierChooser::chooseTier(bool itemChosen)
{
    MainScreen& s = m_screen;
    Session& session = m_session;
    const QString text = s.chooserText();

    for (int n = 1; n <= kTierCount; ++n) {
        if (session.store.name(n) == text && isTierClosed(session.state, session.store, n)) {
            session.dialogs.message(QStringLiteral("没有本奖项或本奖项已经抽取完毕！"), QString());
            break;
        }
    }

    const auto tier = findTierByName(session.store, text);
    // The button takes the focus once the text names a tier or an item was chosen, so that a
    // name typed character by character is not cut off after its first keystroke.
    if (itemChosen || tier)
        s.超级按钮->setFocus();
    session.state.nextOrdinal = 1;
    s.透明标签_奖品名称->setText(text);
    if (tier) {
        loadPrizePicture(s, session.store.picturePath(*tier));
        chooseTierLimit(session.state, session.store, text);
    }
    showPrizeFrameIfPicture(s);
    placeFrameBarsOnPicture(s);
}

} // namespace pd
