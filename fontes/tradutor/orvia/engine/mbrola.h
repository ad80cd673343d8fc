// TIRLA: the MBROLA diphone engine, bound at run time: the mbrola program found on PATH and
// driven over pipes, one child process per init_MBR.
#pragma once
#include <string>
#include <string_view>

namespace mbrola {

// Sample types of readtype_MBR.
enum AudioType : int { kLin16 = 0, kLin8 = 1, kULaw = 2, kALaw = 3 };

// A phone for the parser interface: name, length in ms and pitch points.
struct Phone;

// The engine's 23 entry points. Lines and names are zero-terminated cp1252; results below 0
// are failures, with lastError_MBR non-zero and lastErrorStr_MBR saying why.
struct EntryPoints {
  int (*init_MBR)(const char* database);            // starts the engine with a voice; < 0 failure
  int (*init_rename_MBR)(const char* database, const char* rename, const char* clone);
  int (*write_MBR)(const char* lines);               // queues phoneme lines; < 0 failure
  int (*flush_MBR)();                                // all written lines become readable samples
  int (*read_MBR)(short* buffer, int wanted);        // samples ready now (0 none, < 0 failure)
  int (*readtype_MBR)(void* buffer, int wanted, int type);  // the same in an AudioType
  void (*close_MBR)();                               // ends the engine
  int (*reset_MBR)();                                // drops pending lines and samples; clears errors
  int (*lastError_MBR)();                            // 0, or the code of the last failure
  int (*lastErrorStr_MBR)(char* buffer, int size);   // the last failure's text; its length
  void (*setNoError_MBR)(int noError);               // 1: missing diphones are not errors
  int (*getNoError_MBR)();
  void (*setFreq_MBR)(int frequency);                // output rate wanted (the voice's by default)
  int (*getFreq_MBR)();                              // output rate in samples per second
  void (*setVolumeRatio_MBR)(float ratio);           // loudness factor for the following texts
  float (*getVolumeRatio_MBR)();
  void (*getVersion_MBR)(char* buffer, int size);    // the engine's version text
  int (*getDatabaseInfo_MBR)(char* buffer, int size, int index);  // voice information text
  void (*setParser_MBR)(void* parser);               // kept; lines are always parsed by the program
  Phone* (*init_Phone)(const char* name, float lengthMs);
  void (*reset_Phone)(Phone* phone);                 // drops the pitch points
  void (*close_Phone)(Phone* phone);                 // frees the phone
  int (*appendf0_Phone)(Phone* phone, float position, float hertz);  // adds a pitch point
};

// Failure codes of lastError_MBR.
enum ErrorCode : int {
  kNoError = 0,
  kNotStarted = 1,    // no engine running (init_MBR missing or failed)
  kNoVoice = 2,       // the voice database cannot be read
  kCannotRun = 3,     // the mbrola program cannot be started
  kEnded = 4,         // the mbrola program ended unexpectedly
  kNoAnswer = 5,      // the mbrola program stopped answering
  kBadArgument = 6,   // a call with an unusable argument
  kTooMuchSound = 7,  // the mbrola program sent more sound than the lines written ask for
  kTooSlow = 8,       // the mbrola program sends its sound slower than it plays
};

// Puts the module in its start state: unbound, no child, defaults. Ends a running child.
void StartMbrola();

// Finds the mbrola program on PATH and fills the entry points. False when it is not there.
bool MbrolaBind();

// Ends a running engine and forgets the binding. Nothing when unbound.
void MbrolaUnbind();

// Whether MbrolaBind succeeded and MbrolaUnbind was not called since.
bool MbrolaBound();

// The entry points; only valid while bound.
const EntryPoints& Mbrola();

// The program found by MbrolaBind (empty when unbound).
const std::string& MbrolaProgram();

// Who takes the sound as it arrives, instead of leaving it for read_MBR: while the program is
// waited for (write_MBR, flush_MBR), `take` gets every sample received, in order and in
// pieces. Once it returns false (a stop) the rest is thrown away as it comes, until the next
// SetSoundListener or reset_MBR. A null `take` leaves the sound for read_MBR.
struct SoundListener {
  bool (*take)(void* context, const short* samples, int count) = nullptr;
  void* context = nullptr;
};
void SetSoundListener(const SoundListener& listener);

// The duration a phoneme line asks for (its second field, in ms); 0 for comments, flushes and
// lines without one.
double LineDurationMs(std::string_view line);

// How long, in ms, the program may go without answering while it owes an answer before it is
// taken for hung and killed (default 4000). Only taken input, answered flushes and sound in
// pieces of 50 ms or more count as answers; chatter on its error output does not. Whatever it
// sends, every answer owed is due this long plus the playing time of the lines owed after it
// took the last of them.
void SetAnswerTimeout(int ms);

// The process id of the running child, -1 when none (for tests that kill it).
int ChildProcessId();

}  // namespace mbrola
