// What one run of the program holds for the draw: the platform services, the files of the
// event folder, the settings panel's fields, the draw state and the name pool text.
#pragma once

#include "data/PhotoCatalogue.h"
#include "data/SettingsFile.h"
#include "draw/DrawState.h"
#include "draw/PreviewCache.h"
#include "draw/ResultsLog.h"
#include "draw/TierStore.h"
#include "platform/Platform.h"
#include "platform/Random.h"

namespace pd {

struct Session
{
    Session(Dialogs& d, Desktop& dt, Sound& s, Random& r)
        : dialogs(d), desktop(dt), sound(s), random(r), settings(dt.programFolder()),
          photos(dt.programFolder()), results(dt.programFolder(), dt.workFolder(), &d),
          previews(dt.workFolder() + QStringLiteral("/previews"))
    {
    }

    Dialogs& dialogs;
    Desktop& desktop;
    Sound& sound;
    Random& random;
    SettingsFile settings;
    PhotoCatalogue photos;
    TierStore store;
    DrawState state;
    // The name pool: one entry per participant, each a name followed by CR LF.
    QString poolText;
    ResultsLog results;
    // Roll previews of the photos of the name pool, prepared off the user-interface thread.
    PreviewCache previews;
};

} // namespace pd
