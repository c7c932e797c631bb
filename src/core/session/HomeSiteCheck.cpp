#include "session/HomeSiteCheck.h"

#include "base/Translate.h"

namespace tovali {

std::string home_site_check_message(const RemoteConfigResult& result) {
  if (result.outcome == RemoteConfigOutcome::Applied) return kHomeSiteAnswered;
  std::string message = tr(kHomeSiteSilent);
  for (const std::string& refusal : result.refusals) message += "\r" + refusal;
  return message;
}

}  // namespace tovali
