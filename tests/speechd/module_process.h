// TIRLA: the sd_orvia program run by a test: commands written to its standard input, replies
// and events read from its standard output, each audio chunk decoded and checked.
#pragma once
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace speechd_test {

constexpr int kReplyTimeoutMs = 30000;  // a module that stays silent this long has hung

inline bool VoiceInstalled() {
  return std::filesystem::exists("/usr/share/mbrola/br4/br4") &&
         std::system("command -v mbrola > /dev/null") == 0;
}

class ModuleProcess {
 public:
  // Starts the module with `config` as the server would; its standard error goes to `log`.
  ModuleProcess(const std::string& config, const std::string& log) {
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], 0);
      dup2(out[1], 1);
      const int err = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      dup2(err, 2);
      for (int fd : {in[0], in[1], out[0], out[1], err}) close(fd);
      const std::string program = std::string(TIRLA_BUILD_DIR) + "/bin/sd_orvia";
      execl(program.c_str(), "sd_orvia", config.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(in[0]);
    close(out[1]);
    to_ = in[1];
    from_ = out[0];
    signal(SIGPIPE, SIG_IGN);
  }

  ~ModuleProcess() {
    if (to_ >= 0) close(to_);
    if (from_ >= 0) close(from_);
    if (pid_ > 0 && !exited_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }

  pid_t Pid() const { return pid_; }

  void Send(const std::string& text) {
    for (size_t at = 0; at < text.size();) {
      const ssize_t n = write(to_, text.data() + at, text.size() - at);
      if (n <= 0) return;
      at += static_cast<size_t>(n);
    }
  }

  // One line of output (an audio line as "705-AUDIO <samples>", its length checked against
  // the header); nothing when the module ends or stays silent too long.
  std::optional<std::string> Line() {
    std::string line;
    char c;
    while (true) {
      pollfd fd{from_, POLLIN, 0};
      if (poll(&fd, 1, kReplyTimeoutMs) <= 0 || read(from_, &c, 1) != 1) return std::nullopt;
      if (c == '\n') break;
      line += c;
    }
    if (line.starts_with("705-num_samples=")) samplesSaid_ = std::atol(line.c_str() + 16);
    if (line.starts_with("705-sample_rate=")) rate_ = std::atoi(line.c_str() + 16);
    if (!line.starts_with(std::string("705-AUDIO\0", 10))) return line;
    const std::string payload = Unescape(line.substr(10));
    badChunks_ += payload.size() != static_cast<size_t>(samplesSaid_) * 2 || samplesSaid_ == 0;
    samples_ += payload.size() / 2;
    const size_t kept = audio_.size();
    audio_.resize(kept + payload.size() / 2);
    std::memcpy(audio_.data() + kept, payload.data(), payload.size() / 2 * 2);
    return "705-AUDIO " + std::to_string(payload.size() / 2);
  }

  // One reply or event: its lines, up to the one whose fourth character is a blank.
  std::vector<std::string> Reply() {
    std::vector<std::string> lines;
    while (std::optional<std::string> line = Line()) {
      lines.push_back(*line);
      if (line->size() >= 4 && (*line)[3] == ' ') break;
      if (line->size() < 4) break;
    }
    return lines;
  }

  // The final lines of the replies up to a final event (702, 703, 704), each audio chunk run
  // as one "705 AUDIO", marks as "700 <name>"; "(silent)" when the module stops answering.
  std::vector<std::string> Events() {
    std::vector<std::string> events;
    while (true) {
      const std::vector<std::string> reply = Reply();
      if (reply.empty()) {
        events.push_back("(silent)");
        return events;
      }
      std::string event = reply.back();
      if (event.starts_with("700 ") && reply.size() == 2) event = "700 " + reply[0].substr(4);
      if (event == "705 AUDIO" && !events.empty() && events.back() == event) continue;
      events.push_back(event);
      if (event.starts_with("702") || event.starts_with("703") || event.starts_with("704"))
        return events;
    }
  }

  // Waits for the end of the program; its exit code, -1 when it had to be killed.
  int Wait() {
    close(to_);
    to_ = -1;
    for (int i = 0; i < 500; ++i) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      usleep(10000);
    }
    return -1;
  }

  size_t Samples() const { return samples_; }
  // Every sample heard so far (little-endian hosts only) and the rate of the last chunk.
  const std::vector<int16_t>& Audio() const { return audio_; }
  void ForgetAudio() { audio_.clear(); }
  int AudioRate() const { return rate_; }
  int BadChunks() const { return badChunks_; }

 private:
  static std::string Unescape(const std::string& escaped) {
    std::string bytes;
    for (size_t i = 0; i < escaped.size(); ++i) {
      if (escaped[i] == 0x7D && i + 1 < escaped.size()) bytes += static_cast<char>(escaped[++i] ^ 0x20);
      else bytes += escaped[i];
    }
    return bytes;
  }

  pid_t pid_ = -1;
  int to_ = -1, from_ = -1;
  bool exited_ = false;
  long samplesSaid_ = 0;
  size_t samples_ = 0;
  std::vector<int16_t> audio_;
  int rate_ = 0;
  int badChunks_ = 0;
};

}  // namespace speechd_test
