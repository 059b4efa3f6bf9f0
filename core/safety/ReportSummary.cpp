#include "core/safety/ReportSummary.h"

namespace tallowmere {

void to_json(Json& json, const ReportSummary& report) {
    json = Json{{"id", report.id},
                {"kind", report.kind},
                {"title", report.title},
                {"generatedAt", report.generatedAt},
                {"status", report.status},
                {"protectedFilesCount", report.protectedFilesCount},
                {"unprotectedFilesCount", report.unprotectedFilesCount},
                {"failedFilesCount", report.failedFilesCount},
                {"recommendedNextStep", report.recommendedNextStep}};
}

void from_json(const Json& json, ReportSummary& report) {
    json.at("id").get_to(report.id);
    json.at("kind").get_to(report.kind);
    json.at("title").get_to(report.title);
    json.at("generatedAt").get_to(report.generatedAt);
    json.at("status").get_to(report.status);
    json.at("protectedFilesCount").get_to(report.protectedFilesCount);
    json.at("unprotectedFilesCount").get_to(report.unprotectedFilesCount);
    json.at("failedFilesCount").get_to(report.failedFilesCount);
    json.at("recommendedNextStep").get_to(report.recommendedNextStep);
}

}  // namespace tallowmere
