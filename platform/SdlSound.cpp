#include "platform/SdlSound.h"

#include <SDL.h>
#include <SDL_mixer.h>

namespace pd {

SdlSound::SdlSound()
{
    // SDL would otherwise install handlers that swallow SIGINT and SIGTERM.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return;
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 2048) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    Mix_Init(MIX_INIT_MP3);
    m_open = true;
}

SdlSound::~SdlSound()
{
    if (!m_open)
        return;
    Mix_HaltMusic();
    Mix_HaltChannel(-1);
    if (m_music)
        Mix_FreeMusic(m_music);
    for (Mix_Chunk* chunk : std::as_const(m_chunks))
        Mix_FreeChunk(chunk);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlSound::playLooped(const QString& path)
{
    if (!m_open)
        return;
    Mix_HaltMusic();
    if (m_music) {
        Mix_FreeMusic(m_music);
        m_music = nullptr;
    }
    m_music = Mix_LoadMUS(path.toUtf8().constData());
    if (m_music)
        Mix_PlayMusic(m_music, -1);
}

void SdlSound::stopAll()
{
    if (!m_open)
        return;
    Mix_HaltMusic();
    Mix_HaltChannel(-1);
}

void SdlSound::playOnce(const QByteArray& wav)
{
    if (!m_open || wav.isEmpty())
        return;
    Mix_Chunk* chunk = m_chunks.value(wav.constData());
    if (!chunk) {
        SDL_RWops* rw = SDL_RWFromConstMem(wav.constData(), int(wav.size()));
        chunk = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
        if (!chunk)
            return;
        m_chunks.insert(wav.constData(), chunk);
    }
    Mix_PlayChannel(-1, chunk, 0);
}

} // namespace pd
