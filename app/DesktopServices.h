#pragma once

#include <QUrl>

namespace tallowmere {

// Hands a web address to the user's default browser. Called on the main thread only.
class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    // True when the request was handed over; false when no browser could be started.
    virtual bool openUrl(const QUrl& url) = 0;
};

// Opens addresses with xdg-open, the desktop's own opener, without waiting for it.
class XdgDesktopServices final : public DesktopServices {
public:
    bool openUrl(const QUrl& url) override;
};

}  // namespace tallowmere
