#pragma once

#include <map>
#include <string>

#include <QUrl>

namespace tallowmere {

// The product's two web pages, read once from the process environment at start-up.
struct TallowmereWebsiteConfiguration {
    static constexpr const char* kDownloadVariable = "TALLOWMERE_DOWNLOAD_URL";
    static constexpr const char* kSupportVariable = "TALLOWMERE_SUPPORT_URL";
    static constexpr const char* kDefaultDownloadURL = "https://tallowmere.example/download";
    static constexpr const char* kDefaultSupportURL = "https://tallowmere.example/support";

    QUrl downloadURL;
    QUrl supportURL;

    // A variable that is set is used as it is, without trimming. A value that is not an
    // absolute web address (an empty one included) cannot be opened, so the built-in
    // address serves instead.
    static TallowmereWebsiteConfiguration fromEnvironment(
        const std::map<std::string, std::string>& environment);

    bool operator==(const TallowmereWebsiteConfiguration&) const = default;
};

// The whole environment of this process.
std::map<std::string, std::string> processEnvironment();

}  // namespace tallowmere
