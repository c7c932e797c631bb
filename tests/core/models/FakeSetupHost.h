#pragma once

#include <string>
#include <vector>

#include "models/SetupHost.h"

namespace tovali::test {

// Records the calls the setup dialog makes into the main window.
class FakeSetupHost : public SetupHost {
 public:
  Settings& settings() override { return m_settings; }
  SaveReport SaveConfig() override {
    calls.push_back("SaveConfig");
    saved_lines = m_settings.lines();
    return next_save;
  }
  void UpdateControls() override { calls.push_back("UpdateControls"); }
  void UpdateLists() override { calls.push_back("UpdateLists"); }
  std::string ProgramDir() const override { return program_dir; }
  std::string state_dir() const override { return state_folder; }
  const ProhibitedLog& prohibited_log() const override { return log; }
  std::string system_settings_problems() const override { return system_problems; }
  const ActivityRecord* activity_record() const override { return record; }
  std::string activity_problems() const override { return damaged_activity; }
  void update_daily_limits() override { ++daily_limit_updates; }
  void add_extra_minutes() override { ++extra_minutes_added; }

  Settings m_settings;
  SaveReport next_save;
  TextList saved_lines;
  std::vector<std::string> calls;
  std::string program_dir = "/nowhere/";
  std::string state_folder = "/nowhere/";
  ProhibitedLog log;
  std::string system_problems;
  const ActivityRecord* record = nullptr;
  std::string damaged_activity;
  int daily_limit_updates = 0;
  int extra_minutes_added = 0;
};

}  // namespace tovali::test
