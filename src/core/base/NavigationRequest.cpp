#include "base/NavigationRequest.h"

#include "base/TextList.h"

namespace tovali {

namespace {

std::string_view without_final_slash(std::string_view text) {
  if (!text.empty() && text.back() == '/') text.remove_suffix(1);
  return text;
}

}  // namespace

bool same_target(std::string_view reported, std::string_view requested) {
  return equals_ignore_case(without_final_slash(reported), without_final_slash(requested));
}

}  // namespace tovali
