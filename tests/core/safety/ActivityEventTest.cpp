#include "core/safety/ActivityEvent.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tallowmere {
namespace {

// Sets HOME for the life of the object, restoring the old value afterwards.
class ScopedHome {
public:
    explicit ScopedHome(const char* home) {
        if (const char* old = std::getenv("HOME"))
            m_old = old;
        setenv("HOME", home, 1);
    }
    ~ScopedHome() {
        if (m_old) {
            setenv("HOME", m_old->c_str(), 1);
        } else {
            unsetenv("HOME");
        }
    }

private:
    std::optional<std::string> m_old;
};

TEST(ActivityEventTest, RedactsLocalPathsUpToTheNextDelimiter) {
    const ScopedHome home("/srv/people/alice");
    struct Case {
        const char* input;
        const char* expected;
    };
    for (const Case& c : {
             Case{"Copied /Users/alice/Documents/a.txt, 3 left",
                  "Copied [local path omitted], 3 left"},
             Case{"Drive at /Volumes/Backup;done", "Drive at [local path omitted];done"},
             Case{"Open file:///Users/bob/x.pdf now", "Open [local path omitted] now"},
             Case{"Open file://host/share/x.pdf now", "Open [local path omitted] now"},
             Case{"Path /Users/alice/My Files/x", "Path [local path omitted] Files/x"},
             Case{"/home/alice/a\tb", "[local path omitted]\tb"},
             Case{"root /root/.config and /mnt/usb/x",
                  "root [local path omitted] and [local path omitted]"},
             Case{"on /run/media/alice/USB/Tallowmere Backup", "on [local path omitted] Backup"},
             Case{"on /media/alice/USB", "on [local path omitted]"},
             Case{"home /srv/people/alice/Documents/x.txt", "home [local path omitted]"},
             Case{"home is /srv/people/alice, fine", "home is [local path omitted], fine"},
             Case{"other /srv/people/alicex stays", "other /srv/people/alicex stays"},
             Case{"bare /Users/ prefix stays", "bare /Users/ prefix stays"},
             Case{"no paths here", "no paths here"},
             Case{"", ""},
             Case{"bad \xFF\xFE bytes /home/al\xFFice/x, ok",
                  "bad \xFF\xFE bytes [local path omitted], ok"},
         }) {
        SCOPED_TRACE(c.input);
        const std::string once = ActivityEvent::redacted(c.input);
        EXPECT_EQ(once, c.expected);
        EXPECT_EQ(ActivityEvent::redacted(once), once);
    }
}

TEST(ActivityEventTest, ConstructorStoresTheRedactedMessageAndKeepsTheTitle) {
    const ActivityEvent event(Uuid::random(), ActivityEventKind::backup, "Copied /Users/a",
                              "From /Users/alice/x", SafetyState::protected_, std::nullopt,
                              Date(5));
    EXPECT_EQ(event.title, "Copied /Users/a");
    EXPECT_EQ(event.message, "From [local path omitted]");
    const Json json = event;
    EXPECT_FALSE(json.contains("localActionTarget"));
    EXPECT_EQ(json["createdAt"], "1970-01-01T00:00:05Z");
}

}  // namespace
}  // namespace tallowmere
