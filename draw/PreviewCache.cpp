#include "draw/PreviewCache.h"

#include "data/FileIo.h"
#include "draw/WinnerSelection.h"
#include "media/PictureDecoder.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QImageReader>
#include <QImageWriter>
#include <QSet>

#include <sched.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace pd {

namespace {

// Bumped whenever the way previews are made changes, so that older kept files are not used.
constexpr int kFormatVersion = 1;

struct Key
{
    QByteArray path; // empty: the photo was only found by the catalogue's own read
    qint64 size = -1;
    qint64 modifiedNs = 0;
    bool operator==(const Key&) const = default;
};

struct Entry
{
    PreviewCache::Status status = PreviewCache::Status::Pending;
    QByteArray preview;
    Key key;
    quint64 generation = 0;
};

qint64 bytesHeld(const QString& name, const Entry& entry)
{
    return entry.preview.size() + entry.key.path.size() + name.size() * 2;
}

// Photos are prepared while the audience watches the roll, so the workers only take time the
// user-interface thread does not want. They run in the idle scheduling class: when the
// user-interface thread wakes, a worker gives up its core at once. A merely lower priority is
// not enough: a kernel that preempts only at its own tick lets such a worker keep the core for
// up to a tick (4 ms at 250 Hz), which stalls the roll. On a machine busy with other programs
// previews then come more slowly; the roll shows embedded previews, or keeps the picture it
// has, meanwhile.
void lowerThisThreadsPriority()
{
    sched_param param{};
    if (::sched_setscheduler(0, SCHED_IDLE, &param) != 0)
        ::setpriority(PRIO_PROCESS, id_t(::gettid()), 19);
}

bool looksLikeWholeJpeg(const QByteArray& bytes)
{
    if (bytes.size() < 4 || !bytes.startsWith("\xFF\xD8") || !bytes.endsWith("\xFF\xD9"))
        return false;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    return reader.size().isValid();
}

} // namespace

struct PreviewCache::Shared
{
    Shared(QString f, Options o) : folder(std::move(f)), options(std::move(o)) {}

    const QString folder;
    const Options options;

    mutable std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
    quint64 generation = 0;
    // The latest request, until a worker has split its pool text into the queue.
    bool splitPending = false;
    std::optional<PhotoCatalogue> photos;
    QString poolText;
    std::deque<QString> queue;
    QSet<QString> inProgress;
    QHash<QString, Entry> entries;
    int busy = 0;
    bool idleAnnounced = true;
    qint64 memory = 0;
    std::atomic<int> decodes = 0;
    std::vector<std::thread> threads;

    bool idleLocked() const { return !splitPending && queue.empty() && busy == 0; }
    QString storedPath(const Key& key) const;
    Entry make(const PhotoCatalogue& catalogue, const QString& name,
               const std::optional<Entry>& previous);
    Entry fromBytes(const QString& name, const QByteArray& head, Entry entry,
                    const std::function<QByteArray()>& whole);
};

QString PreviewCache::Shared::storedPath(const Key& key) const
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(key.path);
    hash.addData(QByteArray::number(key.size) + ':' + QByteArray::number(key.modifiedNs) + ':' +
                 QByteArray::number(options.box.width()) + 'x' +
                 QByteArray::number(options.box.height()) + ':' +
                 QByteArray::number(options.quality) + ':' + QByteArray::number(kFormatVersion));
    return folder + QLatin1Char('/') + QString::fromLatin1(hash.result().toHex()) +
           QStringLiteral(".jpg");
}

Entry PreviewCache::Shared::make(const PhotoCatalogue& catalogue, const QString& name,
                                 const std::optional<Entry>& previous)
{
    Entry entry;
    const QByteArray path = QFile::encodeName(catalogue.photoPathOf(name));
    struct stat st
    {
    };
    if (::stat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode)) {
        // A file name that is not valid UTF-8 is found only by the catalogue's own read;
        // its preview is made again at every start.
        const QByteArray bytes = catalogue.readPhoto(name);
        if (bytes.isEmpty()) {
            entry.status = Status::Missing;
            return entry;
        }
        entry.key.size = bytes.size();
        return fromBytes(name, bytes.first(qMin(bytes.size(), kPreviewSearchBytes)), entry,
                         [&bytes] { return bytes; });
    }
    entry.key = Key{path, qint64(st.st_size),
                    qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
    if (previous && previous->key == entry.key)
        return *previous;

    const QByteArray kept = readWholeFile(storedPath(entry.key));
    if (looksLikeWholeJpeg(kept)) {
        entry.status = Status::Prepared;
        entry.preview = kept;
        return entry;
    }
    const QByteArray head = catalogue.readPhoto(name, kPreviewSearchBytes);
    return fromBytes(name, head, entry, [&] { return catalogue.readPhoto(name); });
}

Entry PreviewCache::Shared::fromBytes(const QString& name, const QByteArray& head, Entry entry,
                                      const std::function<QByteArray()>& whole)
{
    if (head.isEmpty()) {
        entry.status = entry.key.size == 0 ? Status::Undecodable : Status::Missing;
        return entry;
    }
    // An embedded preview that does not decode counts as none: the roll would show nothing.
    const QByteArrayView embedded = embeddedPreviewOf(head);
    if (!embedded.isEmpty() && !decodePicture(embedded, options.box).isNull()) {
        entry.status = Status::EmbeddedUsable;
        return entry;
    }
    if (options.beforeDecode)
        options.beforeDecode(name);
    const QImage picture = decodePicture(whole(), options.box);
    ++decodes;
    entry.preview = picture.isNull() ? QByteArray() : encodeJpeg(picture, options.quality);
    if (entry.preview.isEmpty()) {
        entry.status = Status::Undecodable;
        return entry;
    }
    entry.status = Status::Prepared;
    if (!entry.key.path.isEmpty() && QDir().mkpath(folder))
        writeWholeFile(storedPath(entry.key), entry.preview);
    return entry;
}

PreviewCache::PreviewCache(QString folder, QObject* parent)
    : PreviewCache(std::move(folder), Options{}, parent)
{
}

PreviewCache::PreviewCache(QString folder, Options options, QObject* parent)
    : QObject(parent), m_shared(std::make_unique<Shared>(std::move(folder), std::move(options)))
{
}

PreviewCache::~PreviewCache()
{
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->stopping = true;
    }
    m_shared->wake.notify_all();
    for (std::thread& thread : m_shared->threads)
        thread.join();
}

void PreviewCache::prepare(const PhotoCatalogue& photos, const QString& poolText)
{
    Shared& s = *m_shared;
    {
        const std::lock_guard lock(s.mutex);
        ++s.generation;
        s.photos = photos;
        s.poolText = poolText;
        s.splitPending = true;
        s.queue.clear();
        s.idleAnnounced = false;
        if (s.threads.empty()) {
            const int count = s.options.threads > 0
                                  ? s.options.threads
                                  : int(qMax(1u, std::thread::hardware_concurrency()));
            for (int i = 0; i < count; ++i)
                s.threads.emplace_back([this] { work(); });
        }
    }
    s.wake.notify_all();
}

PreviewCache::Lookup PreviewCache::lookup(const QString& name) const
{
    const Shared& s = *m_shared;
    // A worker holds the lock for microseconds, but one preempted while holding it would
    // hold up the tick behind it: a busy lock answers "not yet" instead of waiting.
    const std::unique_lock lock(s.mutex, std::try_to_lock);
    if (!lock.owns_lock())
        return {};
    const auto found = s.entries.constFind(name);
    if (found == s.entries.cend())
        return {};
    return {found->status, found->preview};
}

bool PreviewCache::isIdle() const
{
    const std::lock_guard lock(m_shared->mutex);
    return m_shared->idleLocked();
}

qint64 PreviewCache::memoryBytes() const
{
    const std::lock_guard lock(m_shared->mutex);
    return m_shared->memory;
}

int PreviewCache::decodeCount() const
{
    return m_shared->decodes;
}

void PreviewCache::notifyIdle()
{
    QMetaObject::invokeMethod(
        this, [this] { emit idle(); }, Qt::QueuedConnection);
}

void PreviewCache::work()
{
    lowerThisThreadsPriority();
    Shared& s = *m_shared;
    std::unique_lock lock(s.mutex);
    while (!s.stopping) {
        if (s.splitPending) {
            s.splitPending = false;
            const quint64 generation = s.generation;
            const QString text = s.poolText;
            ++s.busy;
            lock.unlock();
            const QStringList names = splitPool(text);
            lock.lock();
            --s.busy;
            if (generation == s.generation) {
                s.queue.assign(names.cbegin(), names.cend());
                s.entries.reserve(s.entries.size() + names.size());
                s.wake.notify_all();
            }
            continue;
        }
        if (s.queue.empty()) {
            if (s.idleLocked() && !s.idleAnnounced) {
                s.idleAnnounced = true;
                // Photos no longer in the pool give their memory back.
                const quint64 current = s.generation;
                s.entries.removeIf([&](const QHash<QString, Entry>::iterator& it) {
                    if (it->generation == current)
                        return false;
                    s.memory -= bytesHeld(it.key(), *it);
                    return true;
                });
                notifyIdle();
            }
            s.wake.wait(lock);
            continue;
        }
        const QString name = s.queue.front();
        s.queue.pop_front();
        const auto found = s.entries.constFind(name);
        if ((found != s.entries.cend() && found->generation == s.generation) ||
            s.inProgress.contains(name))
            continue;
        std::optional<Entry> previous;
        if (found != s.entries.cend())
            previous = *found;
        const quint64 generation = s.generation;
        const PhotoCatalogue photos = *s.photos;
        s.inProgress.insert(name);
        ++s.busy;
        lock.unlock();
        Entry made = s.make(photos, name, previous);
        lock.lock();
        --s.busy;
        s.inProgress.remove(name);
        // A newer request queues the name again; what was made here is kept either way.
        made.generation = generation;
        if (auto old = s.entries.find(name); old != s.entries.end()) {
            if (old->generation > generation)
                continue;
            s.memory -= bytesHeld(name, *old);
        }
        s.memory += bytesHeld(name, made);
        s.entries.insert(name, std::move(made));
    }
}

} // namespace pd
