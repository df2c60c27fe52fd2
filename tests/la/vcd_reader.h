// A small reader of the dumps the analyser writes, strict about what they promise: ASCII with
// CR LF, the header's fixed lines, wires directly in module EDUMAC8, time stamps counting up
// by one from #0, only changed values after $dumpvars, no x or z, a closing stamp with no
// values. Whatever breaks a promise is listed in `errors`.
#pragma once

#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace edumac8::test {

struct VcdVariable {
  int width = 0;
  std::string code;
  std::string name;
};

struct VcdDump {
  std::vector<VcdVariable> variables;
  std::vector<std::string> headerLines;
  // values[t][v]: variable v's value during time t, for every t before the closing stamp.
  std::vector<std::vector<unsigned>> values;
  long closingTime = -1;
  std::vector<std::string> errors;
};

inline VcdDump ReadVcd(const std::string& text) {
  VcdDump dump;
  const auto error = [&](const std::string& what) { dump.errors.push_back(what); };
  for (char c : text)
    if (static_cast<unsigned char>(c) > 126 || (c < 32 && c != '\r' && c != '\n'))
      return error("not printable ASCII"), dump;
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) return error("a line without CR LF at the end"), dump;
    lines.push_back(text.substr(at, end - at));
    if (lines.back().find('\n') != std::string::npos) error("a bare LF");
    at = end + 2;
  }
  std::size_t i = 0;
  std::map<std::string, int> byCode;
  bool inScope = false;
  for (; i < lines.size() && lines[i] != "$enddefinitions $end"; ++i) {
    const std::string& line = lines[i];
    dump.headerLines.push_back(line);
    std::istringstream words(line);
    std::string keyword;
    words >> keyword;
    if (keyword == "$scope") {
      if (line != "$scope module EDUMAC8 $end" || inScope) error("scope: " + line);
      inScope = true;
    } else if (keyword == "$upscope") {
      if (line != "$upscope $end") error("upscope: " + line);
      inScope = false;
    } else if (keyword == "$var") {
      VcdVariable v;
      std::string type, tail;
      words >> type >> v.width >> v.code >> v.name >> tail;
      if (!inScope) error("variable outside the module: " + line);
      if (type != "wire") error("not a wire: " + line);
      const std::string expectedTail = v.width == 8 ? "[7:0]" : "$end";
      if (tail != expectedTail || (v.width == 8 && line.substr(line.size() - 5) != " $end"))
        error("variable line: " + line);
      if (v.width != 1 && v.width != 8) error("width: " + line);
      if (byCode.count(v.code)) error("code used twice: " + v.code);
      for (char c : v.code)
        if (c < 33 || c > 126) error("unprintable code: " + line);
      byCode[v.code] = static_cast<int>(dump.variables.size());
      dump.variables.push_back(v);
    } else if (keyword == "$timescale") {
      if (line != "$timescale 1 ns $end") error("timescale: " + line);
    } else if (keyword != "$date" && keyword != "$version" && keyword != "$comment") {
      error("header line: " + line);
    } else if (line.size() < 5 || line.substr(line.size() - 4) != "$end") {
      error("header line without $end: " + line);
    }
  }
  if (i == lines.size()) return error("no $enddefinitions"), dump;
  ++i;

  std::vector<unsigned> now(dump.variables.size(), 0);
  std::vector<bool> set(dump.variables.size(), false);
  long time = -1;
  bool inDumpvars = false;
  int changesAtTime = 0;
  const auto closeTime = [&] {
    if (time < 0) return;
    if (time > 0 && changesAtTime == 0) error("#" + std::to_string(time) + " changes nothing");
    dump.values.push_back(now);
  };
  for (; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.empty()) return error("empty line"), dump;
    if (line[0] == '#') {
      const long t = std::stol(line.substr(1));
      if (t != time + 1) error("time " + line + " after #" + std::to_string(time));
      if (inDumpvars) error("$dumpvars without $end");
      closeTime();
      time = t;
      changesAtTime = 0;
      continue;
    }
    if (line == "$dumpvars") {
      if (time != 0) error("$dumpvars not at #0");
      inDumpvars = true;
      continue;
    }
    if (line == "$end" && inDumpvars) {
      inDumpvars = false;
      for (std::size_t v = 0; v < set.size(); ++v)
        if (!set[v]) error("$dumpvars leaves out " + dump.variables[v].name);
      continue;
    }
    if (time < 0) return error("a value before #0: " + line), dump;
    if (time == 0 && !inDumpvars) error("a value at #0 outside $dumpvars: " + line);
    unsigned value = 0;
    std::string code;
    int width = 0;
    if (line[0] == 'b') {
      const std::size_t blank = line.find(' ');
      if (blank == std::string::npos) return error("vector value: " + line), dump;
      const std::string bits = line.substr(1, blank - 1);
      for (char b : bits) {
        if (b != '0' && b != '1') error("not a binary digit: " + line);
        value = value << 1 | (b == '1');
      }
      width = static_cast<int>(bits.size());
      code = line.substr(blank + 1);
    } else if (line[0] == '0' || line[0] == '1') {
      value = line[0] == '1';
      width = 1;
      code = line.substr(1);
    } else {
      return error("value line: " + line), dump;
    }
    const auto found = byCode.find(code);
    if (found == byCode.end()) return error("unknown code: " + line), dump;
    const int v = found->second;
    if (width != dump.variables[v].width) error("width of value: " + line);
    if (time > 0 && set[v] && now[v] == value) error("repeated value at #" + std::to_string(time));
    now[v] = value;
    set[v] = true;
    ++changesAtTime;
  }
  if (time < 0) return error("no time stamp"), dump;
  if (changesAtTime != 0 || inDumpvars) error("the last stamp carries values");
  dump.closingTime = time;
  return dump;
}

}  // namespace edumac8::test
