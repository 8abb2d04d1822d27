// Whether the log's list keeps its newest row in view as rows come: only while the user looks at
// its end. Otherwise the rows the user looks at stay where they are, even as the oldest go.
// Free of any window system.
#pragma once

// What the list showed before a batch came.
struct ListView {
    int rows;               // in the list
    int top;                // the first row in view
    int per_page;           // rows the view shows whole
    bool selection_in_view; // a selected row other than the last one is in view
};

struct FollowDecision {
    bool follow; // the newest row into view
    int top;     // else the first row in view, counted after the oldest rows went
};

// dropped: the oldest rows the list let go to keep to its limit as the batch came.
FollowDecision decide_follow(const ListView& before, int dropped);
