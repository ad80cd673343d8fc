// TIRLA: ORVIA memory of the phonemes of words already seen (inside uttsPortug only).
#pragma once

namespace uttsPortug {

// Forgets every remembered word: called whenever the rules or the exceptions change.
void ForgetWords();

}  // namespace uttsPortug
