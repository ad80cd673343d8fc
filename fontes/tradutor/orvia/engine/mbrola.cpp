// TIRLA: the MBROLA entry points over pipes to the mbrola program.
//
// The program is run as `mbrola -e VOICE - -.raw`: phoneme lines in, 16-bit samples out, and a
// line "#" makes it synthesize everything written so far. Samples arrive on their own time,
// so a flush is followed by a mark: a phoneme the voice cannot know, which makes the program
// warn on its error output only after it has written every sample of the flush. Seeing that
// warning means every sample is in our pipe.
#include "orvia/engine/mbrola.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstring>
#include <string_view>
#include <thread>
#include <vector>

#include "orvia/engine/mbrolaChild.h"
#include "platform/codepage.h"

namespace mbrola {

struct Phone {
  std::string name;                               // phoneme name
  float length = 0;                               // duration in ms
  std::vector<std::pair<float, float>> points;    // (percent of the duration, Hz)
};

namespace {

// Phoneme no voice has: its warning marks the end of a flush's samples.
constexpr char kMark[] = "tirlafim";
// The program's warning about the mark's second pair, written after the flush's samples.
constexpr std::string_view kMarkAnswer = "tirlafim-";
// What a flush writes: the flush itself, then the mark in a flush of its own.
constexpr char kFlushAndMark[] = "#\ntirlafim 0\n#\n";
// Ms a leaving child is given before it is killed.
constexpr int kLeaveGraceMs = 100;
// Output rate of the voices this program uses, when no other was asked for.
constexpr int kVoiceRate = 16000;
// Sound a phoneme line may make is reckoned at this rate at least, whatever the voice's own.
constexpr int kMostRate = 48000;
// Sound bytes a child may send beyond what the lines since the last answered flush ask for:
// more than a pipe holds when the flush's answer is read.
constexpr size_t kSoundSlackBytes = 256 * 1024;
// Unread sound kept at most (about 17 minutes at 16000 Hz); a reader takes it long before.
constexpr size_t kMostUnreadBytes = 32u << 20;
// Error output kept of a line that has not ended yet.
constexpr size_t kLongestErrorLine = 4096;
// Microseconds between rounds of traffic while the child is busy: its sound pipe (1 MiB) takes
// several ms to fill, and its line pipe several ms to empty.
constexpr int kBusyRoundUs = 1000;
// Samples handed to the listener at once.
constexpr size_t kHandOnSamples = 8192;
// Output kept of the program's version banner or voice information.
constexpr size_t kLongestCapture = 65536;
// Sound that counts as an answer while the program owes one (50 ms at 16000 Hz): a program
// that trickles a few bytes now and then is not making the text's sound.
constexpr size_t kAnsweringBytes = 1600;

struct MbrolaState {
  bool bound = false;               // MbrolaBind succeeded
  std::string program;              // full path of the mbrola program
  EntryPoints entries{};            // filled while bound
  Child child;                      // the running program, if any
  std::string database;             // voice of the last init_MBR ("" when none)
  std::string renameList;           // -R list of init_rename_MBR
  std::string cloneList;            // -C list of init_rename_MBR
  std::string pending;              // bytes written but not yet taken by the child
  std::vector<uint8_t> samples;     // samples received, from `readAt` on not yet read
  size_t readAt = 0;                // first unread byte of `samples`
  std::string errorText;            // child's error output not yet split into lines
  std::string childLastWords;       // last line of that output that was not our mark
  size_t owedBytes = 0;             // sound the lines since the last answered flush may make
  double owedMs = 0;                // their duration
  size_t receivedBytes = 0;         // sound received since then
  size_t uncountedBytes = 0;        // sound received since the last answer, below kAnsweringBytes
  std::chrono::steady_clock::time_point answerBy;  // all owed sound and answers due by then
  bool dirty = false;               // lines written since the last completed flush
  bool childGone = false;           // the child ended or was killed; reported at next read
  int flushesSent = 0;              // marks written
  int flushesSeen = 0;              // marks the child has answered
  int lastError = kNoError;         // lastError_MBR
  std::string lastErrorText;        // lastErrorStr_MBR (cp1252)
  int noError = 0;                  // setNoError_MBR (missing diphones never stop the child)
  int frequency = 0;                // setFreq_MBR; 0 = the voice's own
  float volume = 1.0f;              // setVolumeRatio_MBR
  int answerTimeoutMs = 4000;       // SetAnswerTimeout
  SoundListener listener;           // SetSoundListener
  bool listenerTaking = true;       // the listener has not said it wants no more
};

MbrolaState& State() {
  static MbrolaState state;
  return state;
}

std::string Cp(const char* utf8) { return platform::Utf8ToCp1252(utf8); }

int Fail(int code, const std::string& text) {
  MbrolaState& s = State();
  s.lastError = code;
  s.lastErrorText = text;
  if (!s.childLastWords.empty() && (code == kEnded || code == kNoVoice))
    s.lastErrorText += " (" + s.childLastWords + ")";
  return -1;
}

void CopyOut(const std::string& text, char* buffer, int size) {
  if (!buffer || size <= 0) return;
  const size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

// Splits the child's error output into lines; counts the answered marks.
void TakeErrorLines() {
  MbrolaState& s = State();
  const std::string_view text = s.errorText;
  size_t from = 0, end;
  // one pass, one erase: a chattering child sends a megabyte of lines per round
  while ((end = text.find('\n', from)) != std::string_view::npos) {
    std::string_view line = text.substr(from, end - from);
    from = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    if (line.find(kMarkAnswer) != std::string_view::npos)
      ++s.flushesSeen;
    else if (line.find(kMark) == std::string_view::npos && !line.empty())
      s.childLastWords = line;
  }
  s.errorText.erase(0, from);
  if (s.errorText.size() > kLongestErrorLine)
    s.errorText.erase(0, s.errorText.size() - kLongestErrorLine);
}

// Adds what phoneme lines owe: their duration, and the bytes of sound that makes at most, at
// kMostRate.
void AddOwed(std::string_view lines) {
  MbrolaState& s = State();
  while (!lines.empty()) {
    const size_t end = std::min(lines.find('\n'), lines.size());
    const double ms = LineDurationMs(lines.substr(0, end));
    lines.remove_prefix(std::min(end + 1, lines.size()));
    if (ms <= 0) continue;
    s.owedMs += ms;
    s.owedBytes += static_cast<size_t>(ms * kMostRate / 1000) * 2 + 2;
  }
}

// Whether the child sends more sound than the lines written ask for, or more than any reader
// leaves waiting: a program run wild, which would fill the memory.
bool Flooding() {
  const MbrolaState& s = State();
  return s.receivedBytes > s.owedBytes + kSoundSlackBytes ||
         s.samples.size() - s.readAt > kMostUnreadBytes;
}

void DropChild() {
  MbrolaState& s = State();
  EndChild(s.child, 0);
  s.pending.clear();
  s.childGone = true;
}

// One round of traffic; false when the child has gone or was ended for flooding (then
// lastError says so). Progress is input taken, a flush answered or kAnsweringBytes of sound;
// taken input sets the answer deadline anew.
bool Move(int wait_ms, bool& progress) {
  MbrolaState& s = State();
  const size_t before = s.samples.size();
  const int answered = s.flushesSeen;
  const Traffic t = Exchange(s.child, s.pending, s.samples, s.errorText, wait_ms);
  TakeErrorLines();
  const size_t received = s.samples.size() - before;
  s.receivedBytes += received;
  s.uncountedBytes += received;
  progress = t.written > 0 || s.flushesSeen != answered || s.uncountedBytes >= kAnsweringBytes;
  if (progress) s.uncountedBytes = 0;
  if (t.written > 0)
    s.answerBy = std::chrono::steady_clock::now() +
                 std::chrono::milliseconds(s.answerTimeoutMs + static_cast<long>(s.owedMs));
  if (Flooding()) {
    DropChild();
    s.samples.resize(s.readAt);  // what came beyond the bound is no speech
    Fail(kTooMuchSound, Cp("o programa mbrola mandou mais som do que o texto pede"));
    return false;
  }
  return !t.outputEnded;
}

// Moves traffic until `done` holds; `each` runs after every round and may take the sound
// received. A child that leaves fails, and so does one that either makes no progress for the
// answer timeout (silent, chattering or trickling) or has not answered by the answer deadline:
// the timeout plus the playing time of the lines owed, after it took the last of them. That
// allows a real program, many times faster than real time, any text, and ends one that sends
// sound slower than it plays. Time the listener holds the sound is ours, not the child's.
template <typename Done, typename Each>
int RunUntil(Done done, Each each) {
  using Clock = std::chrono::steady_clock;
  MbrolaState& s = State();
  auto quietSince = Clock::now();
  if (s.answerBy < quietSince)
    s.answerBy = quietSince + std::chrono::milliseconds(s.answerTimeoutMs);
  bool busy = false;  // the last round moved something
  bool trickled = false;  // sound came since the last progress, too little to count
  for (;;) {
    // While the child is busy, traffic is taken in rounds a moment apart rather than at each
    // of its small writes: waking for every few kilobytes would cost more than the sound.
    if (busy && !done()) std::this_thread::sleep_for(std::chrono::microseconds(kBusyRoundUs));
    bool progress = false;
    const bool alive = Move(done() ? 0 : 20, progress);
    busy = progress;
    if (done()) {
      // every sample before the mark is in the pipe now: all of it is taken, in as many
      // rounds as it needs (the pipe holds more than one round reads)
      bool more = alive;
      while (more) {
        more = Move(0, progress) && progress;
        each();
      }
      return s.lastError == kTooMuchSound ? -1 : 0;
    }
    const auto handing = Clock::now();
    each();
    const auto held = Clock::now() - handing;
    quietSince += held;
    s.answerBy += held;
    if (!alive) {
      if (s.lastError == kTooMuchSound) return -1;
      DropChild();
      return Fail(kEnded, Cp("o programa mbrola terminou inesperadamente"));
    }
    const auto now = Clock::now();
    trickled = !progress && (trickled || s.uncountedBytes > 0);
    if (progress) quietSince = now;
    const bool quiet = now - quietSince > std::chrono::milliseconds(s.answerTimeoutMs);
    if (quiet || now > s.answerBy) {
      // sound came, but not the answer: too slow; nothing at all came: no answer
      const bool slow = quiet ? trickled : s.receivedBytes > 0;
      DropChild();
      return slow ? Fail(kTooSlow, Cp("o programa mbrola manda o som devagar demais"))
                  : Fail(kNoAnswer, Cp("o programa mbrola não responde"));
    }
  }
}

// Forgets the sound received and not read.
void DropUnread() {
  MbrolaState& s = State();
  s.samples.clear();
  s.readAt = 0;
}

// Gives the listener, when there is one, every sample not yet read.
void HandOnToListener() {
  MbrolaState& s = State();
  if (!s.listener.take) return;
  short piece[kHandOnSamples];
  for (size_t count; (count = std::min((s.samples.size() - s.readAt) / 2, kHandOnSamples)) > 0;) {
    std::memcpy(piece, s.samples.data() + s.readAt, count * 2);
    s.readAt += count * 2;
    s.listenerTaking = s.listenerTaking &&
                       s.listener.take(s.listener.context, piece, static_cast<int>(count));
  }
  if (s.readAt == s.samples.size()) DropUnread();
}

template <typename Done>
int RunUntil(Done done) {
  return RunUntil(done, HandOnToListener);
}

// Sends `bytes` and a flush, and waits until the child has answered it; `each` as RunUntil.
template <typename Each>
int SendAndFlush(const std::string& bytes, Each each) {
  MbrolaState& s = State();
  s.pending += bytes;
  s.pending += kFlushAndMark;
  ++s.flushesSent;
  const int result =
      RunUntil([&] { return s.pending.empty() && s.flushesSeen >= s.flushesSent; }, each);
  if (result == 0) {
    s.dirty = false;
    s.owedBytes = s.receivedBytes = 0;  // every sound owed is in: what comes now is new
    s.owedMs = 0;
  }
  return result;
}

int SendAndFlush(const std::string& bytes) { return SendAndFlush(bytes, HandOnToListener); }

// A number as MBROLA reads it: a point before the decimals whatever the user's locale.
template <typename Number>
std::string PlainNumber(Number value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

std::vector<std::string> ChildArguments() {
  const MbrolaState& s = State();
  std::vector<std::string> args = {"mbrola", "-e"};
  if (s.volume != 1.0f) args.insert(args.end(), {"-v", PlainNumber(s.volume)});
  if (s.frequency > 0) args.insert(args.end(), {"-l", PlainNumber(s.frequency)});
  if (!s.renameList.empty()) args.insert(args.end(), {"-R", s.renameList});
  if (!s.cloneList.empty()) args.insert(args.end(), {"-C", s.cloneList});
  args.insert(args.end(), {s.database, "-", "-.raw"});
  return args;
}

// Starts a fresh child for the current voice and waits until it has loaded it.
int Spawn() {
  MbrolaState& s = State();
  EndChild(s.child, 0);
  s.pending.clear();
  s.samples.clear();
  s.readAt = 0;
  s.errorText.clear();
  s.childLastWords.clear();
  s.flushesSent = s.flushesSeen = 0;
  s.owedBytes = s.receivedBytes = s.uncountedBytes = 0;
  s.owedMs = 0;
  s.answerBy = {};
  s.dirty = false;
  s.childGone = false;
  if (!StartChild(s.program, ChildArguments(), s.child))
    return Fail(kCannotRun, Cp("não foi possível iniciar o programa mbrola"));
  if (SendAndFlush("") != 0) {
    if (s.lastError == kEnded) {
      s.lastError = kNoVoice;
      s.lastErrorText = Cp("a voz do MBROLA não pôde ser carregada: ") + s.database +
                        (s.childLastWords.empty() ? "" : " (" + s.childLastWords + ")");
    }
    return -1;
  }
  s.samples.clear();
  s.readAt = 0;
  return 0;
}

int InitRename(const char* database, const char* rename, const char* clone) {
  MbrolaState& s = State();
  EndChild(s.child, kLeaveGraceMs);
  s.lastError = kNoError;
  s.lastErrorText.clear();
  s.childLastWords.clear();
  s.database = database ? database : "";
  s.renameList = rename ? rename : "";
  s.cloneList = clone ? clone : "";
  // A voice is a regular file: opening a pipe to check would wait for a writer for ever.
  struct stat info {};
  if (stat(s.database.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
      access(s.database.c_str(), R_OK) != 0) {
    const std::string name = s.database;
    s.database.clear();
    return Fail(kNoVoice, Cp("voz do MBROLA não encontrada: ") + name);
  }
  if (Spawn() != 0) {
    s.database.clear();
    return -1;
  }
  return 0;
}

int InitMbr(const char* database) { return InitRename(database, nullptr, nullptr); }

int WriteMbr(const char* lines) {
  MbrolaState& s = State();
  if (!lines) return Fail(kBadArgument, Cp("linha vazia"));
  if (s.child.pid < 0)
    return s.database.empty() ? Fail(kNotStarted, Cp("o MBROLA não foi iniciado"))
                              : Fail(kEnded, Cp("o programa mbrola terminou inesperadamente"));
  s.dirty = true;
  s.pending += lines;
  AddOwed(lines);
  return RunUntil([&] { return s.pending.empty(); });
}

int FlushMbr() {
  MbrolaState& s = State();
  if (s.child.pid < 0) return Fail(kNotStarted, Cp("o MBROLA não foi iniciado"));
  return SendAndFlush("");
}

// Samples ready now, as 16-bit values; the count, 0 for none, -1 when the child has gone.
int TakeSamples(short* buffer, int wanted) {
  MbrolaState& s = State();
  if (!buffer || wanted <= 0) return 0;
  // the pipe is read only when what is here does not fill the buffer: reading ahead of the
  // reader would pile up sound faster than it is taken
  if (s.child.pid >= 0 && s.samples.size() - s.readAt < static_cast<size_t>(wanted) * 2) {
    bool progress = false;
    if (!Move(0, progress) && s.child.pid >= 0) DropChild();
  }
  const size_t ready = (s.samples.size() - s.readAt) / 2;
  const size_t n = std::min(ready, static_cast<size_t>(wanted));
  if (n == 0) {
    if (s.childGone) {
      s.childGone = false;
      if (s.lastError != kNoError) return -1;  // already told why
      return Fail(kEnded, Cp("o programa mbrola terminou inesperadamente"));
    }
    return 0;
  }
  std::memcpy(buffer, s.samples.data() + s.readAt, n * 2);
  s.readAt += n * 2;
  if (s.readAt == s.samples.size()) {
    s.samples.clear();
    s.readAt = 0;
  } else if (s.readAt > (1u << 20)) {
    s.samples.erase(s.samples.begin(), s.samples.begin() + static_cast<long>(s.readAt));
    s.readAt = 0;
  }
  return static_cast<int>(n);
}

int ReadMbr(short* buffer, int wanted) { return TakeSamples(buffer, wanted); }

uint8_t ToULaw(short sample) {
  int x = sample;
  const int sign = x < 0 ? 0x80 : 0;
  if (x < 0) x = -x;
  x = std::min(x, 32635) + 0x84;
  int exponent = 7;
  for (int mask = 0x4000; (x & mask) == 0 && exponent > 0; mask >>= 1) --exponent;
  const int mantissa = (x >> (exponent + 3)) & 0x0F;
  return static_cast<uint8_t>(~(sign | (exponent << 4) | mantissa));
}

uint8_t ToALaw(short sample) {
  int x = sample;
  const int sign = x >= 0 ? 0x80 : 0;
  if (x < 0) x = -x - 1;
  x = std::min(x, 32767) >> 3;
  int exponent = 0;
  while (x >= 32 && exponent < 7) x >>= 1, ++exponent;
  const int mantissa = exponent == 0 ? (x >> 1) & 0x0F : x & 0x0F;
  return static_cast<uint8_t>((sign | (exponent << 4) | mantissa) ^ 0x55);
}

int ReadTypeMbr(void* buffer, int wanted, int type) {
  if (type == kLin16) return TakeSamples(static_cast<short*>(buffer), wanted);
  if (type < kLin16 || type > kALaw) return Fail(kBadArgument, Cp("tipo de amostra desconhecido"));
  std::vector<short> lin(static_cast<size_t>(std::max(wanted, 0)));
  const int n = TakeSamples(lin.data(), wanted);
  auto* out = static_cast<uint8_t*>(buffer);
  for (int i = 0; i < n; ++i) {
    const short v = lin[static_cast<size_t>(i)];
    out[i] = type == kLin8 ? static_cast<uint8_t>((v >> 8) + 128)
             : type == kULaw ? ToULaw(v)
                             : ToALaw(v);
  }
  return n;
}

void CloseMbr() {
  MbrolaState& s = State();
  EndChild(s.child, kLeaveGraceMs);
  s.database.clear();
  s.pending.clear();
  s.samples.clear();
  s.readAt = 0;
  s.dirty = false;
  s.childGone = false;
}

int ResetMbr() {
  MbrolaState& s = State();
  s.listenerTaking = true;
  s.lastError = kNoError;
  s.lastErrorText.clear();
  s.samples.clear();
  s.readAt = 0;
  s.childGone = false;
  ChildRunning(s.child);  // one that left between texts is replaced below
  // the sound of what the child still holds is worked through and thrown away as it comes
  if (s.child.pid >= 0 && (s.dirty || s.flushesSeen < s.flushesSent || !s.pending.empty())) {
    if (!s.pending.empty() || SendAndFlush("", DropUnread) != 0) EndChild(s.child, 0);
  }
  s.samples.clear();
  s.readAt = 0;
  if (s.child.pid < 0) {
    if (s.database.empty()) return Fail(kNotStarted, Cp("o MBROLA não foi iniciado"));
    return Spawn();
  }
  s.lastError = kNoError;
  s.lastErrorText.clear();
  return 0;
}

int LastErrorMbr() { return State().lastError; }

int LastErrorStrMbr(char* buffer, int size) {
  CopyOut(State().lastErrorText, buffer, size);
  return static_cast<int>(State().lastErrorText.size());
}

void SetNoErrorMbr(int noError) { State().noError = noError; }
int GetNoErrorMbr() { return State().noError; }

// A new rate or loudness is given to the program when the next child starts.
void SetFreqMbr(int frequency) { State().frequency = std::max(frequency, 0); }
int GetFreqMbr() { return State().frequency > 0 ? State().frequency : kVoiceRate; }
void SetVolumeRatioMbr(float ratio) { State().volume = ratio > 0 ? ratio : 1.0f; }
float GetVolumeRatioMbr() { return State().volume; }

// Runs the program with `args` and returns what it printed (both outputs), waiting at most
// the answer timeout.
std::string Capture(const std::vector<std::string>& args) {
  MbrolaState& s = State();
  Child probe;
  if (!StartChild(s.program, args, probe)) return {};
  std::string none, text;
  std::vector<uint8_t> out;
  const auto start = std::chrono::steady_clock::now();
  while (Exchange(probe, none, out, text, 20).outputEnded == false &&
         out.size() + text.size() < kLongestCapture &&
         std::chrono::steady_clock::now() - start <
             std::chrono::milliseconds(s.answerTimeoutMs)) {
  }
  EndChild(probe, 0);
  return std::string(out.begin(), out.end()) + text;
}

void GetVersionMbr(char* buffer, int size) {
  const std::string banner = Capture({"mbrola"});
  std::string version;
  const size_t at = banner.find("MBROLA ");
  if (at != std::string::npos) {
    const size_t end = banner.find_first_of(" \r\n-", at + 7);
    version = banner.substr(at + 7, end == std::string::npos ? end : end - at - 7);
  }
  CopyOut(version, buffer, size);
}

int GetDatabaseInfoMbr(char* buffer, int size, int index) {
  const MbrolaState& s = State();
  if (index != 0 || s.database.empty()) {
    CopyOut("", buffer, size);
    return 0;
  }
  const std::string info = Capture({"mbrola", "-i", s.database, "-", "-.raw"});
  CopyOut(info, buffer, size);
  return static_cast<int>(info.size());
}

void SetParserMbr(void*) {}

Phone* InitPhone(const char* name, float length) {
  auto* phone = new Phone;
  phone->name = name ? name : "";
  phone->length = length;
  return phone;
}

void ResetPhone(Phone* phone) {
  if (phone) phone->points.clear();
}

void ClosePhone(Phone* phone) { delete phone; }

int AppendF0Phone(Phone* phone, float position, float hertz) {
  if (!phone) return Fail(kBadArgument, Cp("fone inexistente"));
  phone->points.emplace_back(position, hertz);
  return static_cast<int>(phone->points.size());
}

constexpr EntryPoints kEntryPoints = {
    InitMbr,        InitRename,        WriteMbr,          FlushMbr,           ReadMbr,
    ReadTypeMbr,    CloseMbr,          ResetMbr,          LastErrorMbr,       LastErrorStrMbr,
    SetNoErrorMbr,  GetNoErrorMbr,     SetFreqMbr,        GetFreqMbr,         SetVolumeRatioMbr,
    GetVolumeRatioMbr, GetVersionMbr,  GetDatabaseInfoMbr, SetParserMbr,      InitPhone,
    ResetPhone,     ClosePhone,        AppendF0Phone,
};

}  // namespace

void StartMbrola() {
  MbrolaState& s = State();
  EndChild(s.child, 0);
  s = MbrolaState{};
}

bool MbrolaBind() {
  MbrolaState& s = State();
  s.program = FindOnPath("mbrola");
  s.bound = !s.program.empty();
  s.entries = s.bound ? kEntryPoints : EntryPoints{};
  return s.bound;
}

void MbrolaUnbind() {
  MbrolaState& s = State();
  if (!s.bound) return;
  CloseMbr();
  s.bound = false;
  s.program.clear();
  s.entries = EntryPoints{};
}

bool MbrolaBound() { return State().bound; }

const EntryPoints& Mbrola() { return State().entries; }

const std::string& MbrolaProgram() { return State().program; }

void SetSoundListener(const SoundListener& listener) {
  State().listener = listener;
  State().listenerTaking = true;
}

void SetAnswerTimeout(int ms) { State().answerTimeoutMs = std::max(ms, 1); }

int ChildProcessId() { return State().child.pid; }

double LineDurationMs(std::string_view line) {
  const size_t name = line.find_first_not_of(" \t");
  if (name == std::string_view::npos || line[name] == ';' || line[name] == '#') return 0;
  const size_t gap = line.find_first_of(" \t", name);
  const size_t field = gap == std::string_view::npos ? gap : line.find_first_not_of(" \t", gap);
  if (field == std::string_view::npos) return 0;
  double ms = 0;
  std::from_chars(line.data() + field, line.data() + line.size(), ms);
  return std::clamp(ms, 0.0, 3.6e6);
}

}  // namespace mbrola
