// The celebration the draw cycle opens after a winner and closes on the next press.
#pragma once

namespace pd {

class Celebration
{
public:
    virtual ~Celebration() = default;
    virtual void OpenOverlay() = 0;
    virtual void CloseOverlay() = 0;
    virtual bool IsOverlayOpen() const = 0;
};

} // namespace pd
