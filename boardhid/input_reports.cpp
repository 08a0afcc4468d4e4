#include "boardhid/input_reports.h"

#include <algorithm>
#include <cstring>

#include "boardhid/protocol.h"
#include "boardhid/trace.h"

namespace boardhid {

InputReports::InputReports(os::EventHandle event, Trace* trace) : event_(event), trace_(trace) {}

void InputReports::Push(const uint8_t* data, size_t size, int announced) {
    size = std::min(size, static_cast<size_t>(kReportSize));
    if (trace_ != nullptr) trace_->Report("IN", data, size, announced);
    std::lock_guard<std::mutex> lock(mutex_);
    if (queue_.size() >= kMaxPending) queue_.pop_front();
    queue_.push_back(Report{std::vector<uint8_t>(data, data + size), announced});
    if (event_ != nullptr) os::SetEvent(event_);
}

int InputReports::PendingLength() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (queue_.empty()) return 0;
    const int n = queue_.front().announced;
    if (n >= 1 && n <= kReportSize) return n;
    queue_.pop_front();
    SignalIfPendingLocked();
    return 0;
}

int InputReports::Take(uint8_t* out) {
    if (out == nullptr) return 0;
    std::lock_guard<std::mutex> lock(mutex_);
    if (queue_.empty()) return 0;
    const Report report = std::move(queue_.front());
    queue_.pop_front();
    SignalIfPendingLocked();
    if (report.announced < 1 || report.announced > kReportSize) return 0;
    std::memcpy(out, report.data.data(), report.data.size());
    return static_cast<int>(report.data.size());
}

void InputReports::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.clear();
}

size_t InputReports::Count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return queue_.size();
}

void InputReports::SignalIfPendingLocked() {
    if (!queue_.empty() && event_ != nullptr) os::SetEvent(event_);
}

}  // namespace boardhid
