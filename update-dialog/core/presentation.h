// The stages of a refresh pass after the status file has been read: the
// alert's texts and buttons for the state, the bar, and the relayout.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "status_snapshot.h"
#include "toolkit.h"

namespace tessary::update {

// The alert's headline until the host application reports a known state.
inline constexpr std::string_view checkingMessage = "Checking for updates…";

// States in which the bar is shown.
inline constexpr std::array<std::string_view, 5> progressStates{"checking", "downloading", "verifying",
                                                                "extracting", "installing"};
// States in which an install is offered.
inline constexpr std::array<std::string_view, 2> offerStates{"available", "waiting-for-agents"};

// Whether `state` is canonically equivalent to an entry of `list`.
bool isStateIn(std::span<const std::string_view> list, std::string_view state);

// Sets `available`, the first button, the informative and message texts and
// the extras of the state (a "Later" button, the warning style). The file's
// `message` and `latest` are cut to their bounds (text_bounds.h); `installed`
// is shown as given, so it must already be cut to a version's bounds.
void presentStatus(const StatusSnapshot& snapshot, const std::string& installed, Alert& alert,
                   Button& primary, bool& available);

// Attaches and shows the bar in busy states, detaches and hides it otherwise,
// and sets its mode and value from the reported percentage.
void showProgress(bool busy, std::optional<double> percent, Alert& alert, ProgressIndicator& progress);

// Lays the alert out again when the state differs from the last one shown.
void relayoutOnStateChange(const std::string& state, std::string& lastState, Alert& alert);

// The percentage as the bar shows it: NaN and negatives give 0, 100 and above give 100.
double clampedPercent(double percent);

}  // namespace tessary::update
