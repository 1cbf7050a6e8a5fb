// Option parsing shared by the sub-commands of typeswap-cli.
#include "cli/CliArgs.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "cli/Commands.h"
#include "platform/CodePage.h"

CCliArgs::CCliArgs(std::span<char* const> args, std::vector<std::string_view> valueOptions,
                   std::vector<std::string_view> flagOptions) {
  valueOptions.push_back("codepage");
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i];
    if (optionsEnded || arg.size() < 3 || arg.substr(0, 2) != "--") {
      if (arg == "--") {
        optionsEnded = true;
        continue;
      }
      positional_.emplace_back(arg);
      continue;
    }
    std::string_view name = arg.substr(2);
    std::string value;
    bool inlineValue = false;
    if (auto eq = name.find('='); eq != std::string_view::npos) {
      value = std::string(name.substr(eq + 1));
      name = name.substr(0, eq);
      inlineValue = true;
    }
    auto known = [&](const std::vector<std::string_view>& list) {
      return std::find(list.begin(), list.end(), name) != list.end();
    };
    if (known(valueOptions)) {
      if (!inlineValue) {
        if (i + 1 >= args.size()) {
          error_ = "option --" + std::string(name) + " needs a value";
          return;
        }
        value = args[++i];
      }
      options_.emplace_back(std::string(name), value);
    } else if (known(flagOptions) && !inlineValue) {
      options_.emplace_back(std::string(name), std::string());
    } else {
      error_ = "unknown option --" + std::string(name);
      return;
    }
  }
  if (Has("codepage")) {
    int32_t cp = 0;
    if (!ParseCodePage(Value("codepage").c_str(), cp)) {
      error_ = "--codepage needs a positive code page number";
      return;
    }
    if (!IsKnownCodePage(cp)) {
      error_ = "--codepage " + Value("codepage") + ": no such code page";
      return;
    }
    SetProcessCodePage(cp);
  } else if (!CodePageFromEnvironment()) {
    error_ = "TYPESWAP_CODEPAGE=" + std::string(std::getenv("TYPESWAP_CODEPAGE")) + ": no such code page";
    return;
  }
}

std::vector<std::string> CCliArgs::Values(std::string_view name) const {
  std::vector<std::string> out;
  for (const auto& [n, v] : options_)
    if (n == name) out.push_back(v);
  return out;
}

std::string CCliArgs::Value(std::string_view name, std::string fallback) const {
  for (auto it = options_.rbegin(); it != options_.rend(); ++it)
    if (it->first == name) return it->second;
  return fallback;
}

bool CCliArgs::Has(std::string_view name) const {
  return std::any_of(options_.begin(), options_.end(), [&](const auto& o) { return o.first == name; });
}

std::vector<std::pair<std::string, std::string>> CCliArgs::InOrder(std::vector<std::string_view> names) const {
  std::vector<std::pair<std::string, std::string>> out;
  for (const auto& option : options_)
    if (std::find(names.begin(), names.end(), option.first) != names.end()) out.push_back(option);
  return out;
}

int CliUsageError(std::string_view command, std::string_view message) {
  std::fprintf(stderr, "typeswap-cli %.*s: %.*s\n", int(command.size()), command.data(), int(message.size()),
               message.data());
  for (const CliCommand& c : CliCommands()) {
    if (c.name == command) {
      std::fprintf(stderr, "usage: typeswap-cli %.*s %.*s\n", int(c.name.size()), c.name.data(), int(c.synopsis.size()),
                   c.synopsis.data());
    }
  }
  return kCliUsage;
}

void AppendEscaped(std::string& out, std::string_view text) {
  static const char kHex[] = "0123456789abcdef";
  for (char ch : text) {
    unsigned char c = static_cast<unsigned char>(ch);
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        if (c < 0x20 || c >= 0x7F) {
          out += "\\x";
          out += kHex[c >> 4];
          out += kHex[c & 15];
        } else {
          out += ch;
        }
    }
  }
}
