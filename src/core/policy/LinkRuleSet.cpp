#include "policy/LinkRuleSet.h"

#include <algorithm>

namespace tovali {

namespace {

constexpr std::array<std::string_view, kRuleListCount> kCodeTexts = {"AD", "AU", "PU", "AS", "PS",
                                                                     "AT", "PT", "SD", "SS"};

bool holds_marker(const RuleLists& lists) {
  for (const TextList& list : lists) {
    for (const std::string& entry : list) {
      if (entry.find("<!--URL") != std::string::npos ||
          entry.find("<!--NAVFRAMEWIDTH=") != std::string::npos) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace

std::string_view code_text(RuleCode code) {
  return kCodeTexts[static_cast<std::size_t>(code)];
}

std::optional<RuleCode> code_from_text(std::string_view text) {
  for (std::size_t i = 0; i < kRuleListCount; ++i) {
    if (kCodeTexts[i] == text) return kRuleCodes[i];
  }
  return std::nullopt;
}

LinkRuleSet::LinkRuleSet(RuleLists lists)
    : m_lists(std::move(lists)),
      m_allowed_domains(list(RuleCode::AD)),
      m_allowed_urls(list(RuleCode::AU)),
      m_prohibited_urls(list(RuleCode::PU)),
      m_silent_domains(list(RuleCode::SD)),
      m_allowed_prefixes(list(RuleCode::AS)),
      m_prohibited_prefixes(list(RuleCode::PS)),
      m_silent_prefixes(list(RuleCode::SS)),
      m_allowed_suffixes(list(RuleCode::AT)),
      m_prohibited_suffixes(list(RuleCode::PT)),
      m_round_trips(!holds_marker(m_lists)) {}

std::shared_ptr<const LinkRuleSet> LinkRuleSet::Empty() {
  static const std::shared_ptr<const LinkRuleSet> empty =
      std::make_shared<const LinkRuleSet>(RuleLists{});
  return empty;
}

std::size_t LinkRuleSet::entry_count() const {
  std::size_t n = 0;
  for (const TextList& list : m_lists) n += list.size();
  return n;
}

std::string LinkRuleSet::record_text(std::string_view number_field) const {
  std::string text(number_field);
  for (std::size_t i = 0; i < kRuleListCount; ++i) {
    for (const std::string& entry : m_lists[i]) {
      const std::string_view e(entry);
      text.append("<!--URL");
      text.append(e.substr(0, 3));
      text.push_back(':');
      text.append(kCodeTexts[i]);
      text.push_back(':');
      text.append(e.substr(std::min<std::size_t>(3, e.size())));
      text.append("-->");
    }
  }
  return text;
}

}  // namespace tovali
