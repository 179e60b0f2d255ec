#include "presentation.h"

#include "byte_count.h"
#include "canonical_equality.h"
#include "text_bounds.h"

namespace tessary::update {
namespace {

// The rows of the state table; a state outside it is shown as `checking`.
enum class Row {
    upToDate,
    offer,
    downloading,
    verifying,
    extracting,
    installing,
    updated,
    failure,
    checking
};

struct RowEntry {
    std::string_view state;
    Row row;
};

constexpr std::array<RowEntry, 11> stateTable{{
    {"up-to-date", Row::upToDate},
    {"available", Row::offer},
    {"waiting-for-agents", Row::offer},
    {"downloading", Row::downloading},
    {"verifying", Row::verifying},
    {"extracting", Row::extracting},
    {"installing", Row::installing},
    {"updated", Row::updated},
    {"error", Row::failure},
    {"release-unavailable", Row::failure},
    {"recovery-required", Row::failure},
}};

Row rowFor(std::string_view state) {
    for (const RowEntry& entry : stateTable) {
        if (isCanonicallyEquivalent(state, entry.state)) return entry.row;
    }
    return Row::checking;
}

std::string join(std::string_view a, std::string_view b, std::string_view c = {}) {
    std::string text;
    text.reserve(a.size() + b.size() + c.size());
    return text.append(a).append(b).append(c);
}

std::string downloadText(const StatusSnapshot& snapshot) {
    if (snapshot.downloaded && snapshot.total) {
        return join(stringFromByteCount(*snapshot.downloaded), " of ", stringFromByteCount(*snapshot.total));
    }
    return "You can keep using Tessary while the update downloads.";
}

}  // namespace

bool isStateIn(std::span<const std::string_view> list, std::string_view state) {
    for (std::string_view entry : list) {
        if (isCanonicallyEquivalent(state, entry)) return true;
    }
    return false;
}

void presentStatus(const StatusSnapshot& snapshot, const std::string& installed, Alert& alert,
                   Button& primary, bool& available) {
    const bool offer = isStateIn(offerStates, snapshot.state);
    available = offer;
    primary.setTitle(offer ? "Install & Relaunch" : "Close");
    // Return must never confirm an install by accident.
    primary.setKeyEquivalent(available ? "" : "\r");
    // The host's texts are shown cut to a few lines: a stack trace or a runaway
    // version must neither push the buttons off the screen nor stall the dialog.
    alert.setInformativeText(snapshot.message ? boundedText(*snapshot.message, messageBounds)
                                              : join("Tessary ", installed));
    const std::string latest = boundedText(snapshot.latest, versionBounds);

    switch (rowFor(snapshot.state)) {
        case Row::upToDate:
            alert.setMessageText("Tessary is up to date");
            alert.setInformativeText(
                join("You’re running Tessary ", installed, ". No newer release is available."));
            break;
        case Row::offer:
            alert.setMessageText(join("Tessary ", latest, " is available"));
            alert.setInformativeText(
                "Your conversations and drafts will be restored when Tessary reopens. Active turns "
                "controlled "
                "by Tessary may be interrupted; other agents keep working.");
            if (alert.buttonsCount() == 1) alert.addButtonWithTitle("Later");
            break;
        case Row::downloading:
            alert.setMessageText(join("Downloading Tessary ", latest, "…"));
            alert.setInformativeText(downloadText(snapshot));
            break;
        case Row::verifying:
            alert.setMessageText("Verifying the update…");
            break;
        case Row::extracting:
            alert.setMessageText("Preparing the update…");
            break;
        case Row::installing:
            alert.setMessageText("Installing and relaunching Tessary…");
            break;
        case Row::updated:
            alert.setMessageText("Tessary is updated");
            break;
        case Row::failure:
            alert.setMessageText("Tessary couldn’t update");
            alert.setAlertStyle(AlertStyle::warning);  // kept for the rest of the run
            break;
        case Row::checking:
            alert.setMessageText(std::string(checkingMessage));
            break;
    }
}

double clampedPercent(double percent) {
    const double atLeastZero = 0 <= percent ? percent : 0;  // NaN fails the test and gives 0
    return atLeastZero < 100 ? atLeastZero : 100;
}

void showProgress(bool busy, std::optional<double> percent, Alert& alert, ProgressIndicator& progress) {
    alert.setAccessoryView(busy ? &progress : nullptr);
    progress.setHidden(!busy);
    if (percent) {
        progress.setIndeterminate(false);
        progress.setDoubleValue(clampedPercent(*percent));
    } else {
        progress.setIndeterminate(true);
        progress.startAnimation();
    }
}

void relayoutOnStateChange(const std::string& state, std::string& lastState, Alert& alert) {
    if (isCanonicallyEquivalent(state, lastState)) return;
    alert.layout();
    lastState = state;
}

}  // namespace tessary::update
