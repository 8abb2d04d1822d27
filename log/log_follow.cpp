#include "log/log_follow.h"

FollowDecision decide_follow(const ListView& before, int dropped) {
    // The end in view, and no row picked above it there: the user follows the log.
    const bool at_end = before.top + before.per_page >= before.rows;
    if (at_end && !before.selection_in_view) {
        return {true, 0};
    }
    const int top = before.top - dropped;
    return {false, top > 0 ? top : 0};
}
