// Small previews of the photos that carry no usable embedded preview, so that a roll tick
// shows a picture within a couple of milliseconds whatever photos the operator brought. A
// photo without a preview would otherwise be decoded whole on every tick (a 12-megapixel
// photo takes far longer than the timer's period) and the roll would crawl.
//
// Previews are made once, on worker threads, with the decoder's own scaling, and kept as
// small JPEGs: in memory for this run and in a folder of the per-user work folder for the
// next one, keyed by the photo's path, size and modification time. The user-interface thread
// only looks previews up.
#pragma once

#include "data/PhotoCatalogue.h"

#include <QByteArray>
#include <QObject>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

namespace pd {

class PreviewCache final : public QObject
{
    Q_OBJECT
public:
    enum class Status {
        Pending,        // not looked at yet
        Prepared,       // a preview of its own is ready
        EmbeddedUsable, // the photo's embedded preview decodes: the roll shows that
        Undecodable,    // the photo itself does not decode
        Missing,        // no photo file for the name
    };

    struct Options
    {
        // A preview fits within this box, aspect ratio kept.
        QSize box{320, 320};
        int quality = 70;
        // Worker threads; 0 gives one per core.
        int threads = 0;
        // Runs on a worker thread just before a photo is decoded whole, so that tests can
        // hold a worker there.
        std::function<void(const QString& name)> beforeDecode;
    };

    struct Lookup
    {
        Status status = Status::Pending;
        QByteArray preview; // the JPEG bytes, when Prepared
    };

    // folder: where previews are kept between runs (created when first needed).
    explicit PreviewCache(QString folder, QObject* parent = nullptr);
    PreviewCache(QString folder, Options options, QObject* parent = nullptr);
    ~PreviewCache() override;

    // Starts preparing every name of the pool text (entries of name + CR LF) and returns at
    // once; the pool text is split on a worker. A new request replaces the one before:
    // previews already made stay until their photo is found changed or gone.
    void prepare(const PhotoCatalogue& photos, const QString& poolText);

    // What is known of a name now. Never waits for a worker: while a worker holds the
    // cache's lock the answer is Pending.
    Lookup lookup(const QString& name) const;

    // Every name of the latest request has been handled (true before any request).
    bool isIdle() const;
    // Bytes of preview held in memory.
    qint64 memoryBytes() const;
    // Photos decoded whole by this cache so far (reused previews are not counted).
    int decodeCount() const;

signals:
    // Emitted on the owner's thread when every name of the latest request has been handled.
    void idle();

private:
    struct Shared;
    void work();
    void notifyIdle();

    std::shared_ptr<Shared> m_shared;
};

} // namespace pd
