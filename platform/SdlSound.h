// Sound through SDL2_mixer. Without a sound device every call does nothing.
#pragma once

#include "platform/Platform.h"

#include <QHash>

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

namespace pd {

class SdlSound final : public Sound
{
public:
    SdlSound();
    ~SdlSound() override;
    SdlSound(const SdlSound&) = delete;
    SdlSound& operator=(const SdlSound&) = delete;

    void playLooped(const QString& path) override;
    void stopAll() override;
    void playOnce(const QByteArray& wav) override;

    bool isOpen() const { return m_open; }

private:
    bool m_open = false;
    Mix_Music* m_music = nullptr;
    // Clips are decoded once and kept, keyed by the address of their (static) bytes.
    QHash<const char*, Mix_Chunk*> m_chunks;
};

} // namespace pd
