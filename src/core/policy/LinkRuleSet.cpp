#include "policy/LinkRuleSet.h"

#include <utility>

namespace tovali {

namespace {

constexpr std::array<std::string_view, kRuleListCount> kCodeTexts = {"AD", "AU", "PU", "AS", "PS",
                                                                     "AT", "PT", "SD", "SS"};

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

LinkRuleSet::LinkRuleSet(std::shared_ptr<const std::string> text, RuleEntryLists lists,
                         bool round_trips)
    : m_text(std::move(text)),
      m_entries(std::move(lists)),
      m_allowed_domains(entries(RuleCode::AD)),
      m_allowed_urls(entries(RuleCode::AU)),
      m_prohibited_urls(entries(RuleCode::PU)),
      m_silent_domains(entries(RuleCode::SD)),
      m_allowed_prefixes(entries(RuleCode::AS)),
      m_prohibited_prefixes(entries(RuleCode::PS)),
      m_silent_prefixes(entries(RuleCode::SS)),
      m_allowed_suffixes(entries(RuleCode::AT)),
      m_prohibited_suffixes(entries(RuleCode::PT)),
      m_round_trips(round_trips) {}

std::shared_ptr<const LinkRuleSet> LinkRuleSet::empty() {
  static const std::shared_ptr<const LinkRuleSet> empty = std::make_shared<const LinkRuleSet>();
  return empty;
}

TextList LinkRuleSet::list(RuleCode code) const {
  TextList texts;
  for (const RuleEntry& entry : entries(code)) texts.push_back(entry.text());
  return texts;
}

RuleLists LinkRuleSet::lists() const {
  RuleLists all;
  for (std::size_t i = 0; i < kRuleListCount; ++i) all[i] = list(kRuleCodes[i]);
  return all;
}

std::size_t LinkRuleSet::entry_count() const {
  std::size_t n = 0;
  for (const auto& list : m_entries) n += list.size();
  return n;
}

std::string LinkRuleSet::record_text(std::string_view number_field) const {
  std::string text(number_field);
  for (std::size_t i = 0; i < kRuleListCount; ++i) {
    for (const RuleEntry& entry : m_entries[i]) {
      text.append("<!--URL");
      text.append(entry.number);
      text.push_back(':');
      text.append(kCodeTexts[i]);
      text.push_back(':');
      text.append(entry.value);
      text.append("-->");
    }
  }
  return text;
}

}  // namespace tovali
