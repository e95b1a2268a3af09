#include "app/PrizeFrame.h"

#include "app/MainScreen.h"
#include "app/PictureBox.h"
#include "data/FileIo.h"
#include "media/PictureDecoder.h"

namespace pd {

bool loadPrizePicture(MainScreen& screen, const QString& path)
{
    const QByteArray bytes = path.isEmpty() ? QByteArray() : readWholeFile(path);
    screen.图片框_奖品->setPicture(decodePicture(bytes, screen.图片框_奖品->size()));
    return screen.图片框_奖品->hasPicture();
}

void showPrizeFrameIfPicture(MainScreen& screen)
{
    const bool visible = screen.图片框_奖品->hasPicture();
    for (QWidget* w : {static_cast<QWidget*>(screen.图片框_奖品), screen.分隔条_左, screen.分隔条_右,
                       screen.分隔条_上, screen.分隔条_下,
                       static_cast<QWidget*>(screen.透明标签_奖品名称)})
        w->setVisible(visible);
}

void placeFrameBarsOnPicture(MainScreen& screen)
{
    const QRect p = screen.图片框_奖品->geometry();
    screen.分隔条_左->setGeometry(p.x(), p.y(), screen.分隔条_左->width(), p.height());
    screen.分隔条_右->setGeometry(p.x() + p.width(), p.y(), screen.分隔条_右->width(), p.height());
    screen.分隔条_上->setGeometry(p.x(), p.y(), p.width(), screen.分隔条_上->height());
    screen.分隔条_下->setGeometry(p.x(), p.y() + p.height(), p.width(), screen.分隔条_下->height());
}

} // namespace pd
