#pragma once

#include <map>
#include <mutex>
#include <string>

#include "core/platform/Bookmarks.h"

namespace tallowmere::testing {

// Bookmarks whose answers the test sets. create() makes "bookmark:<path>"; such a bookmark
// resolves to its own path unless the test said otherwise. Scoped access is granted when
// the test asks for it and every start and stop is counted, so that a test can check that
// access is stopped on every way out. Safe to use from any thread.
class FakeBookmarks final : public Bookmarks {
public:
    static Bytes bookmarkOf(const std::string& path) {
        const std::string text = "bookmark:" + path;
        return Bytes(text.begin(), text.end());
    }

    void setResolution(const Bytes& bookmark, FileResult<ResolvedBookmark> answer) {
        std::lock_guard lock(m_mutex);
        m_answers.insert_or_assign(bookmark, std::move(answer));
    }
    void setGrantsAccess(bool grants) {
        std::lock_guard lock(m_mutex);
        m_grantsAccess = grants;
    }
    int started() const {
        std::lock_guard lock(m_mutex);
        return m_started;
    }
    int stopped() const {
        std::lock_guard lock(m_mutex);
        return m_stopped;
    }

    FileResult<Bytes> create(const std::string& path) const override { return bookmarkOf(path); }

    FileResult<ResolvedBookmark> resolve(const Bytes& bookmark) const override {
        std::lock_guard lock(m_mutex);
        if (const auto found = m_answers.find(bookmark); found != m_answers.end())
            return found->second;
        const std::string text(bookmark.begin(), bookmark.end());
        if (text.rfind("bookmark:", 0) != 0)
            return std::make_error_code(std::errc::invalid_argument);
        return ResolvedBookmark{text.substr(9), false};
    }

    bool startAccessing(const std::string&) override {
        std::lock_guard lock(m_mutex);
        if (m_grantsAccess)
            ++m_started;
        return m_grantsAccess;
    }
    void stopAccessing(const std::string&) override {
        std::lock_guard lock(m_mutex);
        ++m_stopped;
    }

private:
    mutable std::mutex m_mutex;
    // Guarded by m_mutex.
    std::map<Bytes, FileResult<ResolvedBookmark>> m_answers;
    bool m_grantsAccess = false;
    int m_started = 0;
    int m_stopped = 0;
};

}  // namespace tallowmere::testing
