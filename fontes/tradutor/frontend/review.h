// TIRLA: screen review: a review cursor that moves over the console's screen by character,
// word, row, field and screen, voicing what it passes, without changing the screen.
#pragma once

namespace frontend {

// Start state: an empty search text.
void StartReview();

// Runs the review loop until Escape; the console cursor is put back where it was.
void ReviewScreen();

}  // namespace frontend
