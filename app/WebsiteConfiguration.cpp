#include "app/WebsiteConfiguration.h"

#include <QProcessEnvironment>

namespace tallowmere {
namespace {

QUrl pageAddress(const std::map<std::string, std::string>& environment, const char* variable,
                 const char* fallback) {
    const auto found = environment.find(variable);
    if (found != environment.end()) {
        const QUrl url(QString::fromStdString(found->second), QUrl::StrictMode);
        if (url.isValid() && !url.isRelative() && !url.host().isEmpty())
            return url;
    }
    return QUrl(QString::fromLatin1(fallback));
}

}  // namespace

TallowmereWebsiteConfiguration TallowmereWebsiteConfiguration::fromEnvironment(
    const std::map<std::string, std::string>& environment) {
    return {
        .downloadURL = pageAddress(environment, kDownloadVariable, kDefaultDownloadURL),
        .supportURL = pageAddress(environment, kSupportVariable, kDefaultSupportURL),
    };
}

std::map<std::string, std::string> processEnvironment() {
    std::map<std::string, std::string> result;
    const auto environment = QProcessEnvironment::systemEnvironment();
    for (const auto& name : environment.keys())
        result[name.toStdString()] = environment.value(name).toStdString();
    return result;
}

}  // namespace tallowmere
