#include "core/safety/SafetyFinding.h"

namespace tallowmere {

void to_json(Json& json, const SafetyFinding& finding) {
    json = Json{{"id", finding.id},
                {"scanRunID", finding.scanRunID},
                {"domain", finding.domain},
                {"state", finding.state},
                {"confidence", finding.confidence},
                {"title", finding.title},
                {"message", finding.message},
                {"recommendedAction", finding.recommendedAction},
                {"severity", finding.severity},
                {"createdAt", finding.createdAt}};
}

void from_json(const Json& json, SafetyFinding& finding) {
    json.at("id").get_to(finding.id);
    json.at("scanRunID").get_to(finding.scanRunID);
    json.at("domain").get_to(finding.domain);
    json.at("state").get_to(finding.state);
    json.at("confidence").get_to(finding.confidence);
    json.at("title").get_to(finding.title);
    json.at("message").get_to(finding.message);
    json.at("recommendedAction").get_to(finding.recommendedAction);
    json.at("severity").get_to(finding.severity);
    json.at("createdAt").get_to(finding.createdAt);
}

}  // namespace tallowmere
