#include "carve/carve_options.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qf {
namespace {

constexpr const char kOptionString[] = "o:b:c:t:s:i:k:hqmQTadvVw";
constexpr const char kVersion[] = "1.0.0";

// The bare program name, as the C library's __progname would give it.
std::string program_basename(const std::string& program) {
  const auto cut = program.find_last_of("/\\");
  return cut == std::string::npos ? program : program.substr(cut + 1);
}

bool is_option_word(const std::string& word) { return word.size() > 1 && word[0] == '-'; }

// Whole-word decimal number that fits an int and is at least `minimum`.
bool parse_number(const std::string& text, int minimum, int& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || value < minimum || value > 1 << 30) return false;
  out = static_cast<int>(value);
  return true;
}

void append_invocation(carve_state& state, const std::string& word) {
  // Bounded like a 1024-byte buffer with its terminating zero.
  std::string piece = word + " ";
  const std::size_t room = kInvocationLimit - 1 - std::min(state.invocation.size(), kInvocationLimit - 1);
  state.invocation += piece.substr(0, room);
}

class option_parser {
 public:
  option_parser(const std::vector<std::string>& args, carve_state& state)
      : args_(args), state_(state), program_(args.empty() ? "search" : args[0]) {}

  parsed_options run() {
    for (const auto& a : args_) append_invocation(state_, a);
    const bool posixly_correct = std::getenv("POSIXLY_CORRECT") != nullptr;
    std::size_t i = 1;
    while (i < args_.size() && result_.outcome == option_outcome::run) {
      const std::string& word = args_[i];
      if (word == "--") {
        result_.operands.insert(result_.operands.end(), args_.begin() + static_cast<long>(i) + 1, args_.end());
        break;
      }
      if (!is_option_word(word)) {
        if (posixly_correct) {
          result_.operands.insert(result_.operands.end(), args_.begin() + static_cast<long>(i), args_.end());
          break;
        }
        result_.operands.push_back(word);
        ++i;
        continue;
      }
      i = parse_group(i);
    }
    return result_;
  }

 private:
  // Parses the option letters of args_[i]; returns the index of the next word.
  std::size_t parse_group(std::size_t i) {
    const std::string& word = args_[i];
    for (std::size_t k = 1; k < word.size(); ++k) {
      const char letter = word[k];
      const char* declared = letter != ':' ? std::strchr(kOptionString, letter) : nullptr;
      if (!declared) {
        std::fprintf(stderr, "%s: invalid option -- '%c'\n", program_.c_str(), letter);
        return fail(i);
      }
      if (declared[1] != ':') {
        if (!apply_flag(letter)) return i + 1;
        continue;
      }
      // The argument is the rest of this word, or else the next word.
      if (k + 1 < word.size()) {
        if (!apply_argument(letter, word.substr(k + 1))) return fail(i);
        return i + 1;
      }
      if (i + 1 >= args_.size()) {
        std::fprintf(stderr, "%s: option requires an argument -- '%c'\n", program_.c_str(), letter);
        return fail(i);
      }
      if (!apply_argument(letter, args_[i + 1])) return fail(i);
      return i + 2;
    }
    return i + 1;
  }

  std::size_t fail(std::size_t i) {
    std::fprintf(stderr, "Try `%s -h` for more information.%s", program_basename(program_).c_str(), "\n");
    result_.outcome = option_outcome::bad_option;
    return i + 1;
  }

  // Returns false when the option ends the parse (-h, -V).
  bool apply_flag(char letter) {
    switch (letter) {
      case 'h':
        std::fputs(carve_usage_text(program_).c_str(), stdout);
        result_.outcome = option_outcome::help;
        return false;
      case 'V':
        std::printf("%s\n%s\n", kVersion, "carver");
        result_.outcome = option_outcome::version;
        return false;
      case 'q': state_.mode |= kModeQuick; break;
      case 'Q': state_.mode |= kModeQuiet; break;
      case 'a': state_.mode |= kModeHeaderDump; break;
      case 'd': state_.mode |= kModeIndirect; break;
      case 'v': state_.mode |= kModeVerbose; break;
      case 'w': state_.mode |= kModeWrite; break;
      case 'm': state_.mode |= kModeM; break;
      case 'T': state_.timestamp_output = 1; break;
      default: break;
    }
    return true;
  }

  // Returns false for an argument the scan could not work with.
  bool apply_argument(char letter, const std::string& value) {
    switch (letter) {
      case 'o': state_.output_dir = full_path_or_self(value); return true;
      case 'c': state_.config_path = full_path_or_self(value); return true;
      case 'i': state_.input_path = value; return true;
      case 't': result_.type_lists.push_back(value); return true;
      // A block size or chunk of zero would never advance the scan; refuse it.
      case 'b': return number_or_complain(letter, value, 1, state_.block_size);
      case 'k': return number_or_complain(letter, value, 1, state_.chunk_mib);
      case 's': return number_or_complain(letter, value, 0, state_.skip_blocks);
      default: return true;
    }
  }

  bool number_or_complain(char letter, const std::string& value, int minimum, int& out) {
    if (parse_number(value, minimum, out)) return true;
    std::fprintf(stderr, "%s: invalid argument for -%c: '%s'\n", program_.c_str(), letter, value.c_str());
    return false;
  }

  const std::vector<std::string>& args_;
  carve_state& state_;
  std::string program_;
  parsed_options result_;
};

}  // namespace

parsed_options parse_carve_options(const std::vector<std::string>& args, carve_state& state) {
  return option_parser(args, state).run();
}

std::string carve_usage_text(const std::string& program) {
  return "Usage: " + program +
         " [-b <size>] [-c <file>] [-i <file>] [-k <MiB>] [-o <dir>] [-s <blocks>] [-t <types>]"
         " [-adhmqQTvVw]\n"
         "-V  - print the version number and stop\n"
         "-t  - comma-separated file types to look for (all, jpg, gif, pdf, zip, ...)\n"
         "-d  - detect and skip indirect blocks\n"
         "-i  - file or device to read\n"
         "-a  - record every header, even when no file could be delimited\n"
         "-w  - accepted, no effect\n"
         "-o  - output directory (default \"output\")\n"
         "-c  - configuration file (default \"carver.conf\")\n"
         "-q  - quick mode: look for headers only at block boundaries\n"
         "-Q  - quiet: no progress reports\n"
         "-v  - verbose\n";
}

}  // namespace qf
