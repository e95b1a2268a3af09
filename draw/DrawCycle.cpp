#include "draw/DrawCycle.h"

#include "app/MainScreen.h"
#include "app/PictureBox.h"
#include "app/Session.h"
#include "data/Text.h"
#include "draw/PreviewCache.h"
#include "draw/WinnerSelection.h"
#include "media/Celebration.h"
#include "media/PictureDecoder.h"
#include "media/WinnerSound.h"

#include <QTimer>

namespace pd {

namespace {
const QString kStart = QStringLiteral("开始抽奖");
const QString kStop = QStringLiteral("停止抽奖");
const QString kInfoCaption = QStringLiteral("信息提示");
} // namespace

DrawCycle::DrawCycle(MainScreen& screen, Session& session, Celebration* celebration,
                     QObject* parent)
    : QObject(parent), m_screen(screen), m_session(session), m_celebration(celebration)
{
    时钟_取随机 = new QTimer(this);
    时钟_取随机->setObjectName(QStringLiteral("时钟_取随机"));
    时钟_取随机->setTimerType(Qt::PreciseTimer);
    connect(时钟_取随机, &QTimer::timeout, this, &DrawCycle::pickerTick);
    时钟_开始 = new QTimer(this);
    时钟_开始->setObjectName(QStringLiteral("时钟_开始"));
    connect(时钟_开始, &QTimer::timeout, this, &DrawCycle::reenableTick);
    connect(m_screen.超级按钮, &QPushButton::clicked, this, &DrawCycle::startStop);
}

DrawCycle::Phase DrawCycle::phase() const
{
    if (m_screen.超级按钮->text() == kStart)
        return Phase::Idle;
    return m_screen.超级按钮->isEnabled() ? Phase::Rolling : Phase::Cooling;
}

void DrawCycle::startStop()
{
    MainScreen& s = m_screen;
    Session& session = m_session;
    const TierStore& store = session.store;
    Dialogs& dialogs = session.dialogs;

    if (m_celebration)
        m_celebration->CloseOverlay();

    const QString tierText = s.chooserText();
    if (isAnyTierNamedClosed(session.state, store, tierText)) {
        dialogs.message(QStringLiteral("没有本奖项或本奖项已经抽取完毕！"), QString());
        return;
    }

    std::array<QString, 3> designated;
    if (const auto tier = findTierByName(store, tierText))
        designated = store.tier(*tier).designated;

    if (tierText.isEmpty()) {
        dialogs.message(QStringLiteral("您没有选择任何奖项，请选择！"), kInfoCaption);
        return;
    }
    if (!isDrawAllowed(session.state)) {
        closeTier(session.state, store, tierText);
        dialogs.message(QStringLiteral("本奖项抽取完毕"), kInfoCaption);
        return;
    }

    session.settings.hideSettingsFile();
    s.透明标签_恭喜->resize(session.desktop.screenSize().width(), s.透明标签_恭喜->height());
    s.透明标签_恭喜->clear();
    s.透明标签_中奖人->hide();

    if (session.poolText.isEmpty()) {
        dialogs.message(QStringLiteral("信息提示：\r\n\r\n1、可能是提供的照片数量已经抽完\r\n\r\n"
                                       "2、可能是PHOTO文件夹下没有照片"),
                        QStringLiteral("提示"), MessageStyle::OkError);
        return;
    }

    if (s.超级按钮->text() == kStart)
        start();
    else if (s.超级按钮->text() == kStop)
        stop(designated);
}

void DrawCycle::start()
{
    MainScreen& s = m_screen;
    Session& session = m_session;

    s.图片框_照片->show();
    if (s.isMusicOn())
        session.sound.playLooped(session.desktop.programFolder() + QStringLiteral("/wav/bjyy.mp3"));
    removeDesignatedNames(session.poolText, session.store);
    s.超级按钮->setText(kStop);
    session.state.pool = splitPool(session.poolText);
    m_picksThisRoll = 0;

    // Every entry was a designated winner: there is nobody to roll. Answer as for an empty
    // pool and stay ready rather than start a roll that can fix no one.
    if (session.state.pool.isEmpty()) {
        session.sound.stopAll();
        s.超级按钮->setText(kStart);
        session.dialogs.message(
            QStringLiteral("信息提示：\r\n\r\n1、可能是提供的照片数量已经抽完\r\n\r\n"
                           "2、可能是PHOTO文件夹下没有照片"),
            QStringLiteral("提示"), MessageStyle::OkError);
        return;
    }

    if (session.state.rollPeriodMs > 0)
        时钟_取随机->start(session.state.rollPeriodMs);
}

void DrawCycle::stop(const std::array<QString, 3>& designated)
{
    MainScreen& s = m_screen;
    Session& session = m_session;
    DrawState& state = session.state;

    时钟_取随机->stop();
    session.sound.stopAll();

    // A Stop before the first tick of this roll picks once now, so the winner is always a
    // member of this roll's pool.
    if (m_picksThisRoll == 0)
        state.pickIndex = pickRandomIndex(state, session.random);
    const QString name = takeWinner(state, session.poolText, session.store);
    session.results.recordPick(name);
    m_lastPick = name;
    showPhotoOf(name);
    时钟_开始->setSingleShot(true);
    时钟_开始->start(200);
    s.透明标签_中奖人->setText(name);
    s.透明标签_恭喜->show();
    s.超级按钮->setEnabled(false);

    if (const auto slot = designatedSlotToApply(state.nextOrdinal, state.tierLimit, designated)) {
        const QString winner = designated[size_t(*slot - 1)];
        s.透明标签_中奖人->setText(winner);
        showPhotoOf(winner);
    }

    const QString tierText = s.chooserText();
    const QString announced = s.透明标签_中奖人->text();
    s.透明标签_恭喜->setText(ResultsLog::announcementText(announced, tierText));
    session.sound.playOnce(winnerSoundWav());
    session.results.appendResultLine(announced, tierText);
    updateProgress(state.nextOrdinal, true);
    state.nextOrdinal += 1;

    if (session.store.disableEffects() || !m_celebration)
        return;
    m_celebration->OpenOverlay();
    const int generation = ++m_overlayGeneration;
    s.超级按钮->setFocus();
    session.desktop.waitProcessingEvents(4000);
    // A press during the wait may have closed this overlay and opened the next winner's:
    // only the overlay this Stop opened is closed here.
    if (generation == m_overlayGeneration && m_celebration->IsOverlayOpen())
        m_celebration->CloseOverlay();
}

void DrawCycle::updateProgress(int count, bool relayout)
{
    MainScreen& s = m_screen;
    const QString text = ResultsLog::progressText(s.chooserText(), count);
    s.透明标签_抽取进度->setText(text);
    if (!relayout)
        return;
    s.透明标签_抽取进度->resize(ResultsLog::progressWidth(text), s.透明标签_抽取进度->height());
    QPalette pal = s.透明标签_抽取进度->palette();
    pal.setColor(QPalette::WindowText, s.透明标签_副标题->palette().color(QPalette::WindowText));
    s.透明标签_抽取进度->setPalette(pal);
}

void DrawCycle::reenableTick()
{
    时钟_开始->stop();
    m_screen.超级按钮->setText(kStart);
    m_screen.超级按钮->setEnabled(true);
    m_screen.超级按钮->setFocus();
}

void DrawCycle::pickerTick()
{
    DrawState& state = m_session.state;
    state.pickIndex = pickRandomIndex(state, m_session.random);
    ++m_picksThisRoll;
    if (state.pickIndex >= 1 && state.pickIndex <= state.pool.size())
        showRollPicture(state.pool.at(state.pickIndex - 1));
}

void DrawCycle::showRollPicture(const QString& name)
{
    PictureBox* frame = m_screen.图片框_照片;
    // The roll shows a small preview so that it keeps pace with the timer: the one prepared
    // for this photo, else the photo's embedded preview. A photo without either is never
    // decoded whole here; the previous picture stays until its preview is ready.
    const PreviewCache::Lookup found = m_session.previews.lookup(name);
    if (found.status == PreviewCache::Status::Prepared) {
        const QImage picture = decodePicture(found.preview, frame->size());
        if (!picture.isNull()) {
            frame->setPicture(picture);
            return;
        }
    }
    if (found.status == PreviewCache::Status::Undecodable) {
        frame->clearPicture();
        return;
    }
    const QByteArray head = m_session.photos.readPhoto(name, kPreviewSearchBytes);
    if (head.isEmpty()) {
        frame->clearPicture();
        return;
    }
    const QByteArrayView preview = embeddedPreviewOf(head);
    if (preview.isEmpty())
        return;
    const QImage picture = decodePicture(preview, frame->size());
    if (!picture.isNull())
        frame->setPicture(picture);
}

void DrawCycle::showPhotoOf(const QString& name)
{
    PictureBox* frame = m_screen.图片框_照片;
    frame->setPicture(decodePicture(m_session.photos.readPhoto(name), frame->size()));
}

} // namespace pd
