#include "fakes/fake_system.h"

#include <algorithm>
#include <memory>

namespace vornick::testing {

void FakeSystem::At(std::int64_t at_ms, std::function<void()> fn) {
  queue_.emplace(std::make_tuple(std::max(at_ms, now_ms_), next_seq_++), Pending{std::move(fn)});
}

void FakeSystem::Fire(std::map<std::tuple<std::int64_t, std::uint64_t>, Pending>::iterator it) {
  now_ms_ = std::max(now_ms_, std::get<0>(it->first));
  std::function<void()> fn = std::move(it->second.fn);
  queue_.erase(it);
  fn();
}

bool FakeSystem::DispatchUntil(std::int64_t deadline) {
  while (!closed_ && !queue_.empty() && std::get<0>(queue_.begin()->first) <= deadline) Fire(queue_.begin());
  if (closed_) return false;
  now_ms_ = std::max(now_ms_, deadline);
  return true;
}

void FakeSystem::RunFor(std::int64_t ms) { (void)DispatchUntil(now_ms_ + ms); }

void FakeSystem::StartTimer(const std::string& id, std::int32_t period_ms, std::function<void()> on_tick) {
  const std::uint64_t generation = ++timer_generation_[id];
  const std::int32_t period = std::max(period_ms, min_timer_ms);
  // Each tick schedules the next before its handler runs, so a handler that
  // waits sees its own timer tick again nested, as WM_TIMER does.
  auto tick = std::make_shared<std::function<void(std::int64_t)>>();
  *tick = [this, id, generation, period, on_tick, weak = std::weak_ptr(tick)](std::int64_t due) {
    if (timer_generation_[id] != generation) return;
    if (auto self = weak.lock()) At(due + period, [self, due, period] { (*self)(due + period); });
    on_tick();
  };
  At(now_ms_ + period, [tick, due = now_ms_ + period] { (*tick)(due); });
}

void FakeSystem::StopTimer(const std::string& id) { ++timer_generation_[id]; }

void FakeSystem::SimulateClick(std::int32_t x, std::int32_t y, std::int32_t kind) {
  cursor_x = x;
  cursor_y = y;
  clicks.push_back({x, y, kind, now_ms_});
  now_ms_ += click_cost_ms;
  if (on_click) on_click(clicks.back());
}

bool FakeSystem::PacedDelay(std::int32_t ms) {
  if (closed_) return false;
  if (ms <= 0) return true;
  return DispatchUntil(now_ms_ + ms);
}

void FakeSystem::HandlePendingHotkey() {
  for (auto it = queue_.begin(); !closed_ && it != queue_.end();) {
    if (std::get<0>(it->first) > now_ms_) break;
    if (!it->second.hotkey) {
      ++it;
      continue;
    }
    Fire(it);
    it = queue_.begin();
  }
}

void FakeSystem::PressHotkeyAt(std::int64_t at_ms) {
  Pending p{[this] {
              if (sink_ && hotkey_id_ != 0) sink_->OnEvent(hotkey_feedback_control, Event::Feedback, hotkey_id_, 0);
            },
            true};
  queue_.emplace(std::make_tuple(std::max(at_ms, now_ms_), next_seq_++), std::move(p));
}

std::int32_t FakeSystem::RegisterHotkey(std::string_view feedback_control, std::int32_t modifier_code,
                                        std::int32_t virtual_key) {
  const std::int32_t id = next_hotkey_id_++;
  hotkey_feedback_control = std::string(feedback_control);
  registered_modifier_code = modifier_code;
  registered_virtual_key = virtual_key;
  hotkey_id_ = hotkey_registration_works || hotkey_hook_works ? id : 0;
  return hotkey_id_;
}

void FakeSystem::ShowMessage(std::string_view text, std::string_view caption) {
  messages.push_back({std::string(text), std::string(caption), now_ms_});
  // The box's modal loop keeps timers running until it is dismissed.
  if (message_box_open_ms > 0) (void)DispatchUntil(now_ms_ + message_box_open_ms);
}

System::FileBytes FakeSystem::ReadFileBytes(std::string_view path) {
  const std::string key(path);
  if (auto failure = read_failures.find(key); failure != read_failures.end())
    return {FileBytes::Status::Unreadable, {}, failure->second};
  auto it = files.find(key);
  if (it == files.end()) return {FileBytes::Status::Missing, {}, {}};
  return {FileBytes::Status::Read, it->second, {}};
}

std::string FakeSystem::ReplaceFileAtomically(std::string_view path, std::string_view bytes) {
  if (!replace_failure.empty()) return replace_failure;
  files[std::string(path)] = std::string(bytes);
  replacements.push_back({std::string(path), now_ms_});
  return {};
}

}  // namespace vornick::testing
