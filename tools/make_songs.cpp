// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes Nokturna's four background songs, Music1.mid .. Music4.mid, into the
// folder named on the command line. They are standard MIDI files (format 1,
// 480 ticks a quarter) for General MIDI sounds. Nothing here is random: the
// same program always writes the same bytes.
//
// The tunes are written in a small note language, one line per instrument:
//
//   "D3/8 r F3 r A3/4 r/8 A3 | Bb3+D4/2 ..."
//
//   - A note is a letter, an optional # or b and an octave (C4 is middle C).
//     Notes joined by + sound together, r is a rest. On a drum track single
//     lowercase letters name the drums (see drumKey below).
//   - /4 is a quarter, /8 an eighth and so on; a trailing . makes it half as
//     long again, a trailing t makes it a triplet. Without a /, the length of
//     the note before is used.
//   - After the length: ! accents the note, ? plays it softly, _ holds it for
//     its full length, ' plays it short.
//   - | is a bar line. What lies between two of them must fill whole bars
//     exactly, so a miscounted bar stops the program instead of quietly
//     shifting the rest of the tune.
//
// Accompaniments come from a chord chart ("Dm | Gm A7 |", chords in a bar
// share it equally) played through a one-bar pattern in the same notation,
// whose steps are 1, 3 and 5 (root, third and fifth of the chord, in the bass),
// a (a half step next to the coming chord's root, leading into it), C (the
// whole chord, in the middle of the keyboard) and r.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <map>
#include <numbers>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr long kQuarter = 480;  // ticks
constexpr long kWhole = 4 * kQuarter;
constexpr int kDrumChannel = 9;  // the General MIDI percussion channel ("channel 10")

using Bytes = std::vector<std::uint8_t>;

[[noreturn]] void fail(const std::string& what) { throw std::runtime_error(what); }

std::string rep(std::string_view bars, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) {
    out += bars;
    out += ' ';
  }
  return out;
}

// ---------------------------------------------------------------- the notation

struct Step {
  long start = 0;  // ticks from the start of the line
  long length = 0;
  std::string head;  // what sounds: "D3", "C4+E4", "k+h", "1", "C", "r"
  int accent = 0;    // added to the velocity
  double gate = -1;  // share of the length that sounds; < 0: the voice's own
};

long parseLength(std::string_view text, std::string_view token) {
  std::size_t i = 0;
  long denominator = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9')
    denominator = denominator * 10 + (text[i++] - '0');
  if (denominator <= 0 || kWhole % denominator != 0) fail("bad length in \"" + std::string(token) + "\"");
  long ticks = kWhole / denominator;
  for (; i < text.size(); ++i) {
    if (text[i] == '.')
      ticks += ticks / 2;
    else if (text[i] == 't')
      ticks = ticks * 2 / 3;
    else
      fail("bad length in \"" + std::string(token) + "\"");
  }
  return ticks;
}

// Splits a line into steps and checks its bar lines.
std::vector<Step> parseLine(std::string_view line, long barTicks) {
  std::vector<Step> steps;
  std::istringstream in{std::string(line)};
  std::string token;
  long at = 0;
  long barStart = 0;
  long length = kQuarter;
  int bar = 1;
  auto checkBar = [&] {
    const long filled = at - barStart;
    if (filled == 0 || filled % barTicks != 0)
      fail("bar " + std::to_string(bar) + " of \"" + std::string(line.substr(0, 60)) + "...\" holds " +
           std::to_string(filled) + " ticks, not whole bars of " + std::to_string(barTicks));
    bar += static_cast<int>(filled / barTicks);
    barStart = at;
  };
  while (in >> token) {
    if (token == "|") {
      checkBar();
      continue;
    }
    Step step;
    std::string_view t = token;
    while (!t.empty() && std::string_view("!?_'").find(t.back()) != std::string_view::npos) {
      switch (t.back()) {
        case '!':
          step.accent += 20;
          break;
        case '?':
          step.accent -= 20;
          break;
        case '_':
          step.gate = 1.0;
          break;
        default:
          step.gate = 0.45;
          break;
      }
      t.remove_suffix(1);
    }
    if (const auto slash = t.find('/'); slash != std::string_view::npos) {
      length = parseLength(t.substr(slash + 1), token);
      t = t.substr(0, slash);
    }
    if (t.empty()) fail("nothing to play in \"" + token + "\"");
    step.head = std::string(t);
    step.start = at;
    step.length = length;
    steps.push_back(step);
    at += length;
  }
  if (at != barStart) checkBar();
  return steps;
}

int drumKey(char name) {
  switch (name) {
    case 'k':
      return 36;  // bass drum
    case 'x':
      return 37;  // side stick
    case 's':
      return 38;  // snare
    case 'p':
      return 39;  // hand clap
    case 'l':
      return 41;  // low floor tom
    case 'h':
      return 42;  // closed hi-hat
    case 'f':
      return 44;  // pedal hi-hat
    case 'm':
      return 45;  // low tom
    case 'o':
      return 46;  // open hi-hat
    case 'c':
      return 49;  // crash cymbal
    case 'd':
      return 51;  // ride cymbal
    case 't':
      return 54;  // tambourine
    case 'v':
      return 58;  // vibraslap
    case 'i':
      return 80;  // muted triangle
    case 'g':
      return 81;  // open triangle
    case 'w':
      return 76;  // high wood block
    case 'u':
      return 77;  // low wood block
    default:
      fail(std::string("no drum is called '") + name + "'");
  }
}

int pitchClass(char letter) {
  static const std::map<char, int> classes{{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5},
                                           {'G', 7}, {'A', 9}, {'B', 11}};
  const auto found = classes.find(letter);
  if (found == classes.end()) fail(std::string("no note is called '") + letter + "'");
  return found->second;
}

// "F#3" -> 54, "k" -> 36
int keyOf(std::string_view name) {
  if (name.size() == 1 && name[0] >= 'a' && name[0] <= 'z') return drumKey(name[0]);
  if (name.empty()) fail("empty note name");
  int key = pitchClass(name[0]);
  std::size_t i = 1;
  if (i < name.size() && (name[i] == '#' || name[i] == 'b')) key += name[i++] == '#' ? 1 : -1;
  if (i + 1 != name.size() || name[i] < '0' || name[i] > '8') fail("bad note \"" + std::string(name) + "\"");
  key += (name[i] - '0' + 1) * 12;
  return key;
}

std::vector<int> keysOf(std::string_view head) {
  std::vector<int> keys;
  while (!head.empty()) {
    const auto plus = head.find('+');
    keys.push_back(keyOf(head.substr(0, plus)));
    head = plus == std::string_view::npos ? std::string_view() : head.substr(plus + 1);
  }
  return keys;
}

// ---------------------------------------------------------------- chords

struct Chord {
  int root = 0;  // pitch class
  std::vector<int> intervals;
};

Chord chordOf(std::string_view name) {
  static const std::map<std::string, std::vector<int>, std::less<>> qualities{
      {"", {0, 4, 7}},       {"m", {0, 3, 7}},        {"7", {0, 4, 7, 10}},
      {"m7", {0, 3, 7, 10}}, {"6", {0, 4, 7, 9}},     {"m6", {0, 3, 7, 9}},
      {"dim", {0, 3, 6}},    {"m7b5", {0, 3, 6, 10}}, {"maj7", {0, 4, 7, 11}},
  };
  if (name.empty()) fail("empty chord name");
  Chord chord;
  chord.root = pitchClass(name[0]);
  std::size_t i = 1;
  if (i < name.size() && (name[i] == '#' || name[i] == 'b')) chord.root += name[i++] == '#' ? 1 : -1;
  chord.root = (chord.root + 12) % 12;
  const auto quality = qualities.find(name.substr(i));
  if (quality == qualities.end()) fail("unknown chord \"" + std::string(name) + "\"");
  chord.intervals = quality->second;
  return chord;
}

// Bass notes live between E2 and E3, chords between E3 and D#4.
int bassRoot(const Chord& c) { return 40 + (c.root - 4 + 12) % 12; }
int bassFifth(const Chord& c) {
  const int up = bassRoot(c) + c.intervals[2];
  return up <= 52 ? up : up - 12;
}
int bassThird(const Chord& c) { return bassRoot(c) + c.intervals[1]; }
std::vector<int> chordKeys(const Chord& c) {
  std::vector<int> keys;
  for (int interval : c.intervals) keys.push_back(52 + (c.root + interval - 4 + 24) % 12);
  std::sort(keys.begin(), keys.end());
  return keys;
}

struct ChartEntry {
  long start, end;  // ticks from the start of the chart
  Chord chord;
};

std::vector<ChartEntry> parseChart(std::string_view chart, long barTicks) {
  std::vector<ChartEntry> entries;
  long barStart = 0;
  while (!chart.empty()) {
    const auto bar = chart.find('|');
    std::istringstream in{std::string(chart.substr(0, bar))};
    chart = bar == std::string_view::npos ? std::string_view() : chart.substr(bar + 1);
    std::vector<std::string> names;
    for (std::string name; in >> name;) names.push_back(name);
    if (names.empty()) {
      if (chart.find_first_not_of(' ') == std::string_view::npos) break;  // the closing bar line
      fail("empty bar in a chord chart");
    }
    const long share = barTicks / static_cast<long>(names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
      entries.push_back({barStart + static_cast<long>(i) * share, barStart + static_cast<long>(i + 1) * share,
                         chordOf(names[i])});
    barStart += barTicks;
  }
  return entries;
}

// ---------------------------------------------------------------- voices

struct Event {
  long tick;
  int order;  // at one tick: setup, then note-offs, then controllers, then note-ons
  Bytes bytes;
};

enum Order { kSetup = 0, kNoteOff = 1, kControl = 2, kNoteOn = 3 };

void appendMeta(std::vector<Event>& events, long tick, std::uint8_t type, const Bytes& payload) {
  Bytes bytes{0xFF, type, static_cast<std::uint8_t>(payload.size())};
  bytes.insert(bytes.end(), payload.begin(), payload.end());
  events.push_back({tick, kSetup, bytes});
}

Bytes textBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

// One instrument: one track, one channel.
class Voice {
 public:
  Voice(std::string name, int channel, long barTicks)
      : name_(std::move(name)), channel_(channel), barTicks_(barTicks) {
    appendMeta(events_, 0, 0x03, textBytes(name_));
  }

  Voice& vel(int velocity) {
    velocity_ = velocity;
    return *this;
  }
  // Plays every note of the voice this many decibels louder (a General MIDI synthesizer follows the
  // square of the velocity), accents and soft notes alike, up to the loudest velocity there is. The
  // lines keep their own dynamics; this sets the part's place in the mix.
  Voice& lift(double decibels) {
    lift_ = std::pow(10.0, decibels / 40.0);
    return *this;
  }
  Voice& gate(double share) {
    gate_ = share;
    return *this;
  }
  Voice& swing() {
    swing_ = true;
    return *this;
  }
  // Every note starts this many semitones flat and slides up to pitch.
  Voice& scoop(double semitones, long ticks) {
    scoopSemitones_ = semitones;
    scoopTicks_ = ticks;
    return *this;
  }
  Voice& bendRange(int semitones) {
    bendRange_ = semitones;
    for (auto [controller, value] :
         {std::pair{101, 0}, {100, 0}, {6, semitones}, {38, 0}, {101, 127}, {100, 127}})
      events_.push_back({0,
                         kSetup,
                         {static_cast<std::uint8_t>(0xB0 | channel_), static_cast<std::uint8_t>(controller),
                          static_cast<std::uint8_t>(value)}});
    return *this;
  }
  void setup(int program, int volume, int pan, int reverb) {
    if (program >= 0)
      events_.push_back(
          {0, kSetup, {static_cast<std::uint8_t>(0xC0 | channel_), static_cast<std::uint8_t>(program)}});
    for (auto [controller, value] : {std::pair{7, volume}, {10, pan}, {91, reverb}, {93, 0}, {11, 127}})
      events_.push_back({0,
                         kSetup,
                         {static_cast<std::uint8_t>(0xB0 | channel_), static_cast<std::uint8_t>(controller),
                          static_cast<std::uint8_t>(value)}});
  }

  long bar(double n) const { return std::lround(n * static_cast<double>(barTicks_)); }

  // Plays a line of the note language from the given bar on.
  Voice& play(double atBar, std::string_view line, int transpose = 0) {
    const long at = bar(atBar);
    for (const Step& step : parseLine(line, barTicks_)) {
      if (step.head == "r") continue;
      for (int key : keysOf(step.head))
        note(at + step.start, step.length, key + (channel_ == kDrumChannel ? 0 : transpose),
             velocity_ + step.accent, step.gate < 0 ? gate_ : step.gate);
    }
    return *this;
  }

  // Plays a chord chart from the given bar on, each bar through the pattern.
  Voice& comp(double atBar, std::string_view chart, std::string_view pattern, int transpose = 0) {
    const long at = bar(atBar);
    const std::vector<ChartEntry> chords = parseChart(chart, barTicks_);
    const std::vector<Step> steps = parseLine(pattern, barTicks_);
    if (steps.back().start + steps.back().length != barTicks_)
      fail("an accompaniment pattern must be one bar long");
    auto chordAt = [&](long tick) -> const Chord& {
      for (const ChartEntry& e : chords)
        if (tick >= e.start && tick < e.end) return e.chord;
      return chords.back().chord;
    };
    const long chartEnd = chords.back().end;
    int lastBass = -1;
    for (long barStart = 0; barStart < chartEnd; barStart += barTicks_) {
      for (const Step& step : steps) {
        const long start = barStart + step.start;
        const Chord& chord = chordAt(start);
        std::vector<int> keys;
        if (step.head == "r") continue;
        if (step.head == "1")
          keys = {bassRoot(chord)};
        else if (step.head == "3")
          keys = {bassThird(chord)};
        else if (step.head == "5")
          keys = {bassFifth(chord)};
        else if (step.head == "a") {
          const int target = bassRoot(chordAt(start + step.length));
          keys = {lastBass > target ? target + 1 : target - 1};
        } else if (step.head == "C")
          keys = chordKeys(chord);
        else
          fail("unknown accompaniment step \"" + step.head + "\"");
        if (keys.size() == 1) lastBass = keys[0];
        for (int key : keys)
          note(at + start, step.length, key + transpose, velocity_ + step.accent,
               step.gate < 0 ? gate_ : step.gate);
      }
    }
    return *this;
  }

  void note(long start, long length, int key, int velocity, double gate) {
    if (key < 0 || key > 127) fail(name_ + ": note out of range");
    const long on = at(start);
    const long off =
        std::max(on + 1, at(start + std::max(1L, std::lround(static_cast<double>(length) * gate))));
    if (scoopTicks_ > 0) {
      bendAt(on, -scoopSemitones_);
      bendRamp(start, start + scoopTicks_, -scoopSemitones_, 0);
    }
    const auto v =
        static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::lround(velocity * lift_)), 1, 127));
    events_.push_back(
        {on, kNoteOn, {static_cast<std::uint8_t>(0x90 | channel_), static_cast<std::uint8_t>(key), v}});
    events_.push_back(
        {off, kNoteOff, {static_cast<std::uint8_t>(0x80 | channel_), static_cast<std::uint8_t>(key), 64}});
  }

  void controller(long tick, int number, int value) {
    events_.push_back({at(tick),
                       kControl,
                       {static_cast<std::uint8_t>(0xB0 | channel_), static_cast<std::uint8_t>(number),
                        static_cast<std::uint8_t>(std::clamp(value, 0, 127))}});
  }
  // A controller moving evenly from one value to another.
  void ramp(long from, long to, int number, int a, int b) {
    constexpr long kStep = 60;
    for (long t = from; t < to; t += kStep)
      controller(t, number,
                 a + static_cast<int>(std::lround(static_cast<double>((b - a) * (t - from)) /
                                                  static_cast<double>(to - from))));
    controller(to, number, b);
  }
  void bend(long tick, double semitones) { bendAt(at(tick), semitones); }
  void bendRamp(long from, long to, double a, double b) {
    constexpr long kStep = 20;
    for (long t = from; t < to; t += kStep)
      bend(t, a + (b - a) * static_cast<double>(t - from) / static_cast<double>(to - from));
    bend(to, b);
  }
  // A slow sway of the pitch, as if the instrument stood on a rolling deck.
  void sway(long from, long to, double semitones, long period) {
    constexpr long kStep = 40;
    for (long t = from; t < to; t += kStep)
      bend(t, semitones * std::sin(2.0 * std::numbers::pi * static_cast<double>(t - from) /
                                   static_cast<double>(period)));
    bend(to, 0);
  }

  const std::string& name() const { return name_; }
  std::vector<Event>& events() { return events_; }

 private:
  // Swung voices stretch the first eighth of every beat and squeeze the second.
  long at(long tick) const {
    if (!swing_) return tick;
    const long beat = tick / kQuarter * kQuarter;
    const long p = tick - beat;
    constexpr long kHalf = kQuarter / 2;
    constexpr long kLong = kQuarter * 2 / 3;
    return beat + (p < kHalf ? p * kLong / kHalf : kLong + (p - kHalf) * (kQuarter - kLong) / kHalf);
  }
  void bendAt(long tick, double semitones) {
    if (bendRange_ <= 0) fail(name_ + " bends without a bend range");
    const int value =
        std::clamp(8192 + static_cast<int>(std::lround(semitones / bendRange_ * 8192.0)), 0, 16383);
    events_.push_back({tick,
                       kControl,
                       {static_cast<std::uint8_t>(0xE0 | channel_), static_cast<std::uint8_t>(value & 0x7F),
                        static_cast<std::uint8_t>(value >> 7)}});
  }

  std::string name_;
  int channel_;
  long barTicks_;
  int velocity_ = 80;
  double lift_ = 1.0;
  double gate_ = 0.9;
  bool swing_ = false;
  double scoopSemitones_ = 0;
  long scoopTicks_ = 0;
  int bendRange_ = 0;
  std::vector<Event> events_;
};

// ---------------------------------------------------------------- songs

class Song {
 public:
  Song(std::string title, int beats, int beatUnit, double bpm)
      : title_(std::move(title)), barTicks_(beats * kWhole / beatUnit), conductor_(title_, 0, barTicks_) {
    std::uint8_t unitPower = 0;
    while ((1 << unitPower) < beatUnit) ++unitPower;
    const auto click = static_cast<std::uint8_t>(beatUnit == 8 ? 36 : 24);  // MIDI clocks per counted beat
    appendMeta(conductor_.events(), 0, 0x58, {static_cast<std::uint8_t>(beats), unitPower, click, 8});
    tempo(0, bpm);
  }

  long bar(double n) const { return std::lround(n * static_cast<double>(barTicks_)); }

  Voice& voice(const std::string& name, int channel, int program, int volume, int pan, int reverb = 40) {
    voices_.emplace_back(name, channel, barTicks_);
    voices_.back().setup(program, volume, pan, reverb);
    return voices_.back();
  }
  Voice& drums(int volume, int reverb = 30) { return voice("Drums", kDrumChannel, -1, volume, 64, reverb); }

  // Tempo in quarter notes a minute, from the given bar on.
  void tempo(double atBar, double bpm) {
    const auto micros = static_cast<std::uint32_t>(std::lround(60'000'000.0 / bpm));
    appendMeta(conductor_.events(), bar(atBar), 0x51,
               {static_cast<std::uint8_t>(micros >> 16), static_cast<std::uint8_t>(micros >> 8),
                static_cast<std::uint8_t>(micros)});
    tempi_[bar(atBar)] = bpm;
  }
  // Slows down (or speeds up) evenly, one tempo a beat.
  void ritard(double fromBar, double toBar, double fromBpm, double toBpm) {
    const long from = bar(fromBar), to = bar(toBar);
    for (long t = from; t < to; t += kQuarter)
      tempo(static_cast<double>(t) / static_cast<double>(barTicks_),
            fromBpm + (toBpm - fromBpm) * static_cast<double>(t - from) / static_cast<double>(to - from));
  }

  // The song is over at this bar; everything must have finished sounding by then.
  void finish(double atBar) { end_ = bar(atBar); }

  double seconds() const {
    double total = 0;
    for (auto it = tempi_.begin(); it != tempi_.end(); ++it) {
      const auto next = std::next(it);
      const long until = next == tempi_.end() ? end_ : std::min(end_, next->first);
      if (until > it->first) total += static_cast<double>(until - it->first) / kQuarter * 60.0 / it->second;
    }
    return total;
  }

  Bytes file() {
    if (end_ <= 0) fail(title_ + " was never finished");
    Bytes out = textBytes("MThd");
    append32(out, 6);
    append16(out, 1);
    append16(out, static_cast<std::uint16_t>(voices_.size() + 1));
    append16(out, static_cast<std::uint16_t>(kQuarter));
    writeTrack(out, conductor_);
    for (Voice& v : voices_) writeTrack(out, v);
    return out;
  }

 private:
  static void append16(Bytes& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
  }
  static void append32(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
  }
  static void appendVarLength(Bytes& out, std::uint32_t v) {
    std::uint8_t groups[5];
    int n = 0;
    do {
      groups[n++] = static_cast<std::uint8_t>(v & 0x7F);
      v >>= 7;
    } while (v != 0);
    while (n-- > 0) out.push_back(static_cast<std::uint8_t>(groups[n] | (n > 0 ? 0x80 : 0)));
  }

  void writeTrack(Bytes& out, Voice& voice) {
    std::vector<Event>& events = voice.events();
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
      return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    // A key struck again before it was let go would leave the player guessing.
    std::map<int, bool> sounding;
    for (const Event& e : events) {
      if (e.tick > end_) fail(title_ + ": " + voice.name() + " plays past the end of the song");
      const int kind = e.bytes[0] & 0xF0;
      if (kind == 0x90) {
        if (sounding[e.bytes[1]])
          fail(title_ + ": " + voice.name() + " strikes a sounding key again at tick " +
               std::to_string(e.tick));
        sounding[e.bytes[1]] = true;
      } else if (kind == 0x80)
        sounding[e.bytes[1]] = false;
    }
    Bytes body;
    long last = 0;
    for (const Event& e : events) {
      appendVarLength(body, static_cast<std::uint32_t>(e.tick - last));
      body.insert(body.end(), e.bytes.begin(), e.bytes.end());
      last = e.tick;
    }
    appendVarLength(body, static_cast<std::uint32_t>(end_ - last));
    body.insert(body.end(), {0xFF, 0x2F, 0x00});
    const Bytes tag = textBytes("MTrk");
    out.insert(out.end(), tag.begin(), tag.end());
    append32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
  }

  std::string title_;
  long barTicks_;
  Voice conductor_;
  std::deque<Voice> voices_;  // a deque keeps handed-out references valid
  std::map<long, double> tempi_;
  long end_ = 0;
};

// A slide whistle: one held note pushed along the given pitch offsets (in
// semitones, evenly spread over the note).
void slideWhistle(Voice& whistle, long at, long length, int key, std::initializer_list<double> path,
                  int velocity) {
  const std::vector<double> points(path);
  const long leg = length / static_cast<long>(points.size() - 1);
  whistle.bend(at, points.front());
  for (std::size_t i = 0; i + 1 < points.size(); ++i)
    whistle.bendRamp(at + static_cast<long>(i) * leg, at + static_cast<long>(i + 1) * leg, points[i],
                     points[i + 1]);
  whistle.note(at, length, key, velocity, 1.0);
  whistle.bend(at + length, 0);
}

// ---------------------------------------------------------------- 1: Lagu Menyan
// A tiptoeing march in D minor through the incense smoke: pizzicato strings,
// a bassoon that hits one wrong note, a clarinet, a slide whistle and a ghost.

Song laguMenyan() {
  Song s("Lagu Menyan", 4, 4, 92);
  // The bassoon carries the tune as loud as it goes, the strings just under it.
  Voice& pizz = s.voice("Pizzicato strings", 0, 45, 115, 50).lift(2);
  Voice& bassoon = s.voice("Bassoon", 1, 70, 127, 78).lift(6);
  Voice& clarinet = s.voice("Clarinet", 2, 71, 127, 36).lift(4);
  Voice& timpani = s.voice("Timpani", 3, 47, 127, 64).lift(3);
  Voice& whistle = s.voice("Slide whistle", 4, 78, 120, 96).bendRange(12).lift(3);
  Voice& ghost = s.voice("Ghost", 5, 53, 127, 64, 80).bendRange(12).lift(3);
  Voice& drums = s.drums(120).lift(4);

  const std::string theme1 = "D3/8 r F3 r A3/4 r/8 A3 | Bb3/8 A3 G3 F3 E3/4 r | G3/8 r Bb3 r D4/4 r/8 D4 | ";
  const std::string theme2 =
      "D4/8 r A3 r F3/4 r/8 D3 | F3/8 G3 A3 Bb3 D4/4 r | G3/8 Bb3 D4 Bb3 A3 G3 E3 C#3 | D3/4 A2 D3 r |";
  const std::string theme = theme1 + "C#4/8 D4 E4 C#4 A3/4 r | " + theme2;
  // ... and the time the bassoonist grabs the wrong key and tries to hide it
  const std::string themeOops = theme1 + "C#4/8 D4 E4 C#4 Ab3/8! r/16 A3/16? A3/4? | " + theme2;
  const char* themeChart = "Dm | Dm | Gm | A7 | Dm | Bb | Gm A7 | Dm";

  // intro, bars 0-3: strings tiptoe in alone over the wood blocks
  pizz.vel(62).gate(0.5).comp(0, "Dm | Dm | Gm | A7", "1/4 C 5 C");
  drums.vel(52).play(0, rep("w/4 u w u |", 4));

  // A, bars 4-11
  pizz.vel(72).comp(4, themeChart, "1/4 C 5 C");
  bassoon.vel(84).gate(0.7).play(4, theme);
  drums.vel(62).play(4, rep("k/4 x k x |", 8));

  // A again, bars 12-19, with the clarinet and the oops in bar 15
  pizz.vel(74).comp(12, themeChart, "1/4 C 5 C");
  bassoon.vel(86).play(12, themeOops);
  clarinet.vel(66).play(12, "F4/2 A4 | G4/2 E4 | Bb4/2 D5 | C#5/2 r | D5/2 A4 | Bb4/1 | Bb4/2 A4 | F4/1 |");
  drums.vel(62).play(12, rep("k/4 x k x/8 w? |", 8));

  // B, bars 20-27: the clarinet sings in F major, the bassoon snickers,
  // and the slide whistle gets the last word
  pizz.vel(74).comp(20, "F | C7 | F | Dm | Bb | F | Gm | A7", "1/4 C/8 C 5/4 C/8 C");
  clarinet.vel(88).gate(0.85).play(
      20,
      "A4/4. G4/8 F4/4 C5 | Bb4/8 A4 G4 E4 C4/2 | F4/8 A4 C5 F5 E5/4 D5 | D5/4. C5/8 A4/2 | "
      "Bb4/8 C5 D5 F5 D5/4 Bb4 | A4/4 C5 F4/2 | G4/8 A4 Bb4 D5 G5/4 F5 | E5/4 C#5 r/2 |");
  bassoon.vel(80).gate(0.5).play(20,
                                 "r/1 | r/2 E3/8 D3 C3 r | r/1 | r/2 F3/8 E3 D3 r | r/1 | r/2 A2/8 r A2 r | "
                                 "r/2 Bb2/4 D3 | C#3/4 E3 r/2 |");
  drums.vel(64).play(20, rep("k/4 x/8 x k/4 x/8 w |", 7) + "k/4 x v/2! |");
  slideWhistle(whistle, s.bar(27.5), s.bar(0.45), 72, {-9, 10, 12, -12}, 96);

  // A', bars 28-35: everybody, louder, with the timpani
  pizz.vel(82).gate(0.55).comp(28, themeChart, "1/4 C/8 C 5/4 C");
  bassoon.vel(90).gate(0.75).play(28, theme);
  clarinet.vel(76).gate(0.75).play(28, theme, 12);
  timpani.vel(82).play(28,
                       "D2/2 A2 | D2/2 A2 | G2/2 D2 | A2/2 E2 | D2/2 A2 | Bb2/2 F2 | G2/2 A2 | D2/2 A2 |");
  drums.vel(74).play(28, "k+c/4 s k s | " + rep("k/4 s k s |", 7));

  // ending, bars 36-39: tiptoe away, hold still ... boo! and the last chord
  pizz.vel(58).comp(36, "Dm | Gm A7", "1/4 C 5 C");
  pizz.vel(86).play(39, "D2+A2+D3+F3+A3/1");
  bassoon.vel(70).play(36, "D3/8 r F3 r A3/4 r | G3/8 r Bb3 r A3/4 r | r/1 | D2/1_! |");
  clarinet.vel(80).play(39, "F4/1_");
  drums.vel(48).play(36, "w/4 u w u | w/4 u w u | r/1 | k+c/1 |");
  timpani.vel(70).play(38, "r/2 " + rep("A1/16 ", 8) + "| D2/4! r/2. |");
  timpani.ramp(s.bar(38.5), s.bar(39), 11, 50, 127);
  ghost.vel(112).play(38, "r/2 D5/2_");
  ghost.bendRamp(s.bar(38.5) + 60, s.bar(39), 0, -12);
  s.ritard(36, 38, 92, 74);
  s.tempo(38, 70);
  s.tempo(39, 58);
  s.finish(40.5);
  return s;
}

// ---------------------------------------------------------------- 2: I will survive
// A graveyard shuffle in A minor: an organ, a walking bass, a theremin that
// never quite lands on its notes, rattling xylophone bones and a ghost who
// stops the band.

Song graveyardShuffle() {
  Song s("I will survive", 4, 4, 120);
  // The theremin on top, the organ lead when it takes over; the bones loud enough to rattle through.
  Voice& organ = s.voice("Organ", 0, 16, 112, 48).swing().lift(2);
  Voice& bass = s.voice("Bass", 1, 32, 110, 64).swing().lift(2);
  Voice& theremin = s.voice("Theremin", 2, 85, 127, 76, 70).swing().bendRange(2).scoop(0.6, 70).lift(1);
  Voice& bones = s.voice("Xylophone", 3, 13, 127, 36).swing().lift(8);
  Voice& organLead = s.voice("Organ lead", 4, 17, 127, 76).swing().lift(6);
  Voice& ghost = s.voice("Ghost", 5, 53, 127, 64, 80).swing().bendRange(12).lift(3);
  Voice& whistle = s.voice("Slide whistle", 6, 78, 120, 40).swing().bendRange(12).lift(3);
  Voice& drums = s.drums(110).swing().lift(3);
  theremin.controller(0, 1, 50);  // a wide, wobbly vibrato

  const std::string melody =
      "E5/4. D5/8 C5 B4 A4/4 | F5/2 E5/8 D5 r/4 | G#4/4 B4 D5 F5 | E5/2. r/4 | "
      "A5/4. G5/8 F5 E5 D5/4 | E5/8 F5 E5 D#5 E5/2 | C5/4 A4 D5 F5 | E5/1 | "
      "E5/4. D5/8 C5 B4 A4/4 | F5/2 E5/8 D5 r/4 | G#4/4 B4 D5 F5 | E5/2. r/4 | "
      "A5/4. G5/8 F5 E5 D5/4 | B4/8 C5 D5 E5 G#4/2 | A4/4 C5 B4 G#4 | A4/2. r/4 |";
  const char* chart = "Am | Dm | E7 | Am | F | E7 | Am Dm | E7 | Am | Dm | E7 | Am | F | E7 | Am E7 | Am";
  const std::string groove = "k+d/4 s+f+d/8? d k+d/4 s+f+d/8? d | ";
  const char* walk = "1/4 3 5 a";

  // intro, bars 0-3
  bass.vel(92).comp(0, "Am | Am | Am | E7", walk);
  organ.vel(64).gate(0.45).comp(0, "Am | Am | Am | E7", "r/4 C r C");
  drums.vel(70).play(0, rep(groove, 4));
  bones.vel(84).play(2, "r/4 A5/16 A5 A5 A5 E5/8 r C5 r | r/4 B5/16 B5 B5 B5 G#5/8 r E5/8 r |");

  // A, bars 4-19
  bass.vel(96).comp(4, chart, walk);
  organ.vel(70).comp(4, chart, "r/4 C r C");
  theremin.vel(90).gate(0.95).play(4, melody);
  drums.vel(74).play(4, rep(groove, 16));

  // B, bars 20-27: the organ takes the tune
  const char* bridge = "Dm | Dm | Am | Am | Dm | Dm | E7 | E7";
  bass.vel(96).comp(20, bridge, walk);
  organ.vel(66).comp(20, bridge, "r/4 C r C");
  organLead.vel(88).gate(0.8).play(20,
                                   "D5/8 F5 A5 F5 D5/4 r | C#5/8 D5 F5 D5 A4/4 r | C5/8 E5 A5 E5 C5/4 r | "
                                   "B4/8 C5 E5 C5 A4/4 r | D5/8 F5 A5 C6 B5/4 A5 | F5/4 D5 F5 A5 | "
                                   "G#5/4. F5/8 E5/4 D5 | B4/2 E5/4 r |");
  theremin.vel(70).play(20, "r/1 | r/2 A4/2 | r/1 | r/2 E4/2 | r/1 | r/2 F4/2 | r/1 | G#4/2 r/2 |");
  drums.vel(72).play(20, rep("k+h/4 s+h/8? h k+h/4 s+h/8? h | ", 8));

  // B, bars 28-33: stop time; the bones and the theremin trade licks, and
  // the bones trip over a note in bar 32
  bass.vel(104).comp(28, "Dm | Dm | Am | Am | Dm | Dm", "1/4! r/2.");
  organ.vel(84).comp(28, "Dm | Dm | Am | Am | Dm | Dm", "C/4! r/2.");
  drums.vel(76).play(28, rep("k+s/4 f r f |", 6));
  bones.vel(92).play(28,
                     "r/4 D6/16 C6 A5 F5 D5/8 r D5 D5 | r/1 | r/4 C6/16 B5 A5 E5 C5/8 r C5 C5 | r/1 | "
                     "r/4 D6/16 C6 A5 F5 D5/8 r D#5/8! D5/8? |");
  theremin.vel(92).play(29, "r/4 A4/2. | r/1 | r/4 E5/2. | r/1 | r/4 F5 E5 D5 |");

  // bar 34: everybody freezes and the ghost says boo; bar 35: the drums
  // scramble back in and the slide whistle goes up
  ghost.play(34, "r/4 D4/2.!_");
  ghost.bendRamp(s.bar(34.25) + 120, s.bar(35), 0, -12);
  drums.vel(84).play(35, "s/8 s s s m m l l! |");
  bass.vel(96).play(35, "E2/4 r/2.");
  slideWhistle(whistle, s.bar(35.25), s.bar(0.7), 67, {-12, 12}, 90);

  // A', bars 36-51, with the bones doubling the tune in the second half
  bass.vel(100).comp(36, chart, walk);
  organ.vel(74).comp(36, chart, "r/4 C/8 C r/4 C");
  theremin.vel(96).play(36, melody);
  bones.vel(66).gate(0.6).play(44, melody.substr(melody.find("E5/4. D5/8", 10)), 12);
  drums.vel(80).play(36, "k+c/4 s+f+d/8? d k+d/4 s+f+d/8? d | " + rep(groove, 15));

  // ending, bars 52-55: one more phrase, slowing down, and an A minor sixth
  bass.vel(96).comp(52, "Am | Dm | E7", walk);
  organ.vel(70).comp(52, "Am | Dm | E7", "r/4 C r C");
  theremin.vel(92).play(52, "E5/4. D5/8 C5 B4 A4/4 | F5/2 E5/8 D5 r/4 | G#4/4 B4 D5 F5 | A5/1_! |");
  drums.vel(76).play(52, rep(groove, 3) + "k+c/1? |");
  bones.vel(80).play(54, "r/2 E5/16 G#5 B5 D6 E6 G#6 B6 D7 |");
  organ.vel(90).play(55, "A3+C4+E4+F#4/1_");
  bass.vel(104).play(55, "A1/1_");
  s.ritard(54, 55, 120, 96);
  s.tempo(55, 76);
  s.finish(56.5);
  return s;
}

// ---------------------------------------------------------------- 3: Every breath
// A music-box waltz in E minor with a celesta, a harp and a choir. Near the end
// the music box runs down, then somebody in the choir cannot help himself.

Song musicBoxWaltz() {
  Song s("Every breath", 3, 4, 104);
  // The music box and the celesta are soft instruments: they play as loud as they go, and the harp,
  // the loudest of the band, stays under them.
  Voice& box = s.voice("Music box", 0, 10, 127, 64, 60).bendRange(2).lift(6);
  Voice& celesta = s.voice("Celesta", 1, 8, 127, 86, 60).lift(5);
  Voice& harp = s.voice("Harp", 2, 46, 90, 44, 50);
  Voice& choir = s.voice("Choir", 3, 52, 100, 64, 80).lift(3);
  Voice& timpani = s.voice("Timpani", 4, 47, 120, 64).lift(2);
  Voice& ghost = s.voice("Ghost", 5, 52, 127, 64, 80).bendRange(12);
  Voice& drums = s.drums(120, 60).lift(6);

  const std::string melody =
      "B5/2 G5/4 | F#5/4 G5 B5 | C6/2 A5/4 | E5/2. | D#6/2 B5/4 | A5/4 F#5 D#5 | E5/4 G5 B5 | E6/2. | "
      "E6/4 D6 C6 | G5/2 E5/4 | A5/4 B5 C6 | E6/2. | C6/4 A5 F#5 | D#5/4 F#5 A5 | G5/2 F#5/4 | E5/2. |";
  const char* chart = "Em | Em | Am | Am | B7 | B7 | Em | Em | C | C | Am | Am | F#m7b5 | B7 | Em | Em";
  const char* bridgeChart = "G | G | D7 | D7 | G | G7 | C | C | Am | D7 | G | Em | C | Am | B7 | B7";

  // intro: the box is wound up, then the harp starts
  drums.vel(80).play(0, "w/8? r w? r w? r | w/8? w? w? w? g/4 |");
  harp.vel(70).comp(2, "Em | B7", "1/4 C C");
  celesta.vel(62).play(2, "B5/4 E6 G6 | F#6/2 D#6/4 |");

  // A, bars 4-19
  harp.vel(72).comp(4, chart, "1/4 C C");
  box.vel(92).play(4, melody);
  choir.vel(48).comp(12, "C | C | Am | Am | F#m7b5 | B7 | Em | Em", "C/2._", 12);

  // B, bars 20-35: the celesta's turn; it fumbles a note in bar 30
  harp.vel(76).comp(20, bridgeChart, "1/4 C C");
  choir.vel(58).comp(20, bridgeChart, "C/2._", 12);
  celesta.vel(96).play(
      20,
      "D5/4 G5 B5 | D6/2 B5/4 | C6/4 A5 F#5 | D5/2. | B5/4 A5 G5 | F5/2 G5/4 | E5/4 G5 C6 | E6/2. | "
      "C6/4 B5 A5 | F#5/4 A5 C6 | B5/4 C#6/8! r/16 D6/16? D6/4 | G5/2. | E6/4 D6 C6 | A5/4 C6 E6 | "
      "D#6/2 B5/4 | F#5/2. |");
  box.vel(70).play(
      20,
      "r/2. | r/2 G6/8? B6? | r/2. | r/2 F#6/8? A6? | r/2. | r/2 B6/8? D7? | r/2. | r/2 E7/8? G6? | "
      "r/2. | r/2 D7/8? C7? | r/2. | r/2 B6/8? G6? | r/2. | r/2 E7/8? C7? | r/2. | r/2. |");
  drums.vel(52).play(20, rep("g/4 r/2 |", 16));

  // A', bars 36-51: the box again, the celesta holding long notes beneath
  harp.vel(80).comp(36, chart, "1/4 C/8 5 C/4");
  box.vel(100).play(36, melody);
  celesta.vel(72).play(36,
                       "G5/2. | G5/2. | A5/2. | C6/2. | B5/2. | A5/2. | G5/2. | B5/2. | "
                       "G5/2. | E5/2. | E5/2. | C6/2. | A5/2. | A5/2. | G5/2. | G5/2. |");
  choir.vel(62).comp(36, chart, "C/2._", 12);
  drums.vel(54).play(36, rep("g/4 i? i? |", 16));

  // ending, bars 52-55: the spring runs down, tempo and pitch sag together
  box.vel(96).play(52, "B5/2 G5/4 | F#5/4 G5 B5 | C6/2 A5/4 | D#5/2._ |");
  harp.vel(66).comp(52, "Em | Em | Am | B7", "1/4 C C");
  box.bendRamp(s.bar(53.5), s.bar(56), 0, -1.2);
  s.ritard(52, 56, 104, 52);
  s.tempo(56, 90);
  // bar 57: boo!  bars 58-59: the lullaby pretends nothing happened, in E major
  s.tempo(57, 104);
  box.bend(s.bar(57), 0);
  ghost.play(57, "E4+G4+Bb4/2.!_");
  ghost.bendRamp(s.bar(57) + 120, s.bar(58), 0, -7);
  timpani.vel(112).play(57, "E2/4! r/2");
  drums.vel(96).play(57, "c+l/4! r/2 | g/4? r/2 | r/2. |");
  s.tempo(58, 72);
  harp.vel(74).play(58, "E2/8 B2 E3 G#3 B3 E4 | E3+G#3+B3+E4/2._ |");
  choir.vel(60).play(58, "E4+G#4+B4/1._");
  celesta.vel(78).play(58, "r/2. | E5+G#5+B5/2._ |");
  box.vel(86).play(58, "r/2. | B6/4 E6/2_ |");
  s.finish(60.5);
  return s;
}

// ---------------------------------------------------------------- 4: Sailing
// A seasick shanty in 6/8 and G minor aboard a ghost ship: an accordion that
// sways with the deck, a tuba, a fiddle, the ship's bell, somebody falling
// overboard and the sea itself.

Song ghostShipShanty() {
  Song s("Sailing", 6, 8, 96);
  Voice& accordion = s.voice("Accordion", 0, 21, 127, 56).bendRange(2);
  Voice& squeezebox = s.voice("Accordion chords", 1, 21, 120, 76);
  Voice& tuba = s.voice("Tuba", 2, 58, 127, 64).bendRange(2).lift(2);
  Voice& fiddle = s.voice("Fiddle", 3, 110, 127, 36);
  Voice& bell = s.voice("Ship's bell", 4, 14, 110, 90, 70);
  Voice& sea = s.voice("Sea", 5, 122, 127, 64, 60).lift(6);
  Voice& ghost = s.voice("Ghost", 6, 52, 127, 64, 90).bendRange(12);
  Voice& whistle = s.voice("Slide whistle", 7, 78, 120, 100).bendRange(12);
  Voice& drums = s.drums(110).lift(2);

  const std::string melody =
      "D5/8 G5/4 G5/8 A5 Bb5 | A5/4 G5/8 D5/4. | Eb5/8 G5/4 C6/8 Bb5 A5 | A5/4. F#5/4. | "
      "G5/8 Bb5/4 D6/8 C6 Bb5 | A5/4 F5/8 D5/4. | Eb5/8 D5 C5 D5 F#5 A5 | G5/2. | "
      "D5/8 G5/4 G5/8 A5 Bb5 | A5/4 G5/8 D5/4. | Eb5/8 G5/4 C6/8 Bb5 A5 | A5/4. D6/4. | "
      "G5/8 Bb5/4 Eb6/8 D6 C6 | C6/4 Bb5/8 G5/4. | F#5/8 A5 C6 Bb5 A5 F#5 | G5/2. |";
  const std::string chart =
      "Gm | Gm | Cm | D7 | Gm | Bb | Cm D7 | Gm | Gm | Gm | Cm | D7 | Eb | Cm | D7 | Gm";
  const char* oomPah = "1/4. 5/4.";
  const char* paPa = "r/8 C C r C C";
  const std::string beat = "k/8 r t k r t? | ";

  // intro: the sea, the bell, and the crew shuffling in
  sea.note(0, s.bar(4), 60, 90, 1.0);
  sea.ramp(0, s.bar(2), 11, 30, 120);
  sea.ramp(s.bar(2), s.bar(4), 11, 120, 20);
  bell.vel(96).play(0, "D5/8! r D5 r/4. | r/2. |");
  tuba.vel(90).comp(2, "Gm | D7", oomPah, -12);
  squeezebox.vel(62).comp(2, "Gm | D7", paPa);
  drums.vel(66).play(2, rep(beat, 2));

  // A, bars 4-19
  accordion.vel(116).gate(0.92).play(4, melody);
  accordion.sway(s.bar(4), s.bar(20), 0.25, s.bar(2));
  tuba.vel(94).comp(4, chart, oomPah, -12);
  squeezebox.vel(76).comp(4, chart, paPa);
  drums.vel(72).play(4, rep(beat, 16));

  // B, bars 20-33: the fiddler's verse in B flat
  const char* bridgeChart = "Bb | F | Bb | F | Eb | Bb | C7 | F | Bb | F | Gm | D7 | Cm | Gm";
  bell.vel(80).play(20, "F5/8! r F5 r/4. |");
  fiddle.vel(100).gate(0.85).play(20,
                                  "F5/4. D5/8 F5 Bb5 | A5/4. C5/4. | D5/8 F5 Bb5 D6/4 C6/8 | A5/2. | "
                                  "G5/4 Bb5/8 Eb6/4 D6/8 | D6/4. Bb5/4. | Bb5/8 A5 G5 E5 G5 Bb5 | A5/2. | "
                                  "F5/4. D5/8 F5 Bb5 | C6/4. A5/4. | Bb5/8 A5 G5 D5/4 G5/8 | F#5/2. | "
                                  "Eb5/8 G5 C6 Eb6/4 D6/8 | D6/4. Bb5/4. | A5/4. r/4. | r/2. |");
  tuba.vel(92).comp(20, bridgeChart, oomPah, -12);
  squeezebox.vel(78).comp(20, bridgeChart, paPa);
  drums.vel(74).play(20, rep(beat, 14));

  // bar 34: man overboard ... bar 35: splash, and the ghost of the sea says boo
  tuba.vel(92).play(34, "D2/4. r/4.");
  squeezebox.vel(68).play(34, "r/8 D3+F#3+A3+C4 D3+F#3+A3+C4 r/4.");
  drums.vel(74).play(34, "k/8 r t r/4. | c+l/4.! r/4. |");
  // From D6 down to C5, on a lower note bent up: the small font has no whistle above G5.
  slideWhistle(whistle, s.bar(34.5), s.bar(0.48), 74, {12, -2}, 96);
  sea.note(s.bar(35), s.bar(1), 60, 110, 1.0);
  sea.ramp(s.bar(35), s.bar(36), 11, 127, 0);
  ghost.play(35, "r/4. G4+Bb4/4._!");
  ghost.bendRamp(s.bar(35.5) + 80, s.bar(36), 0, -12);

  // A', bars 36-51: accordion and fiddle together; the tuba honks in bar 39
  // and slides back down as if nobody noticed
  accordion.vel(122).play(36, melody);
  accordion.sway(s.bar(36), s.bar(52), 0.3, s.bar(2));
  fiddle.vel(90).play(36, melody, -12);
  tuba.vel(96).comp(36, "Gm | Gm | Cm", oomPah, -12);
  tuba.play(39, "Eb2/4.!_ D2/4.?");
  tuba.bendRamp(s.bar(39.25), s.bar(39.5), 0, -1);
  tuba.bend(s.bar(39.5), 0);
  tuba.comp(40, chart.substr(chart.find("Gm | Bb")), oomPah, -12);
  squeezebox.vel(82).comp(36, chart, paPa);
  drums.vel(80).play(36, rep(beat, 16));

  // ending, bars 52-57: the wind drops, one last phrase and the final chord
  accordion.vel(116).play(
      52, "D5/8 G5/4 G5/8 A5 Bb5 | C6/4. Eb5/4. | D5/8 F#5 A5 C6/4. | Bb5/2. | G4+Bb4+D5+G5/1._? |");
  tuba.vel(90).comp(52, "Gm | Cm | D7 | Gm", oomPah, -12);
  tuba.vel(100).play(56, "G1/1._");
  squeezebox.vel(66).comp(52, "Gm | Cm | D7 | Gm", paPa);
  fiddle.vel(86).play(56, "D5/1._");
  drums.vel(70).play(52, rep(beat, 3) + "k/4. r | k+c/4.! r/4. | r/2. |");
  bell.vel(90).play(56, "G5/4.! r/4. | G5/4.? r/4. |");
  sea.note(s.bar(55), s.bar(3.4), 60, 90, 1.0);
  sea.ramp(s.bar(55), s.bar(56), 11, 10, 110);
  sea.ramp(s.bar(56), s.bar(58.4), 11, 110, 0);

  // the deck rolls: a little faster down each wave, a little slower up it
  for (int b = 4; b < 52; ++b) {
    s.tempo(b, 99);
    s.tempo(b + 0.5, 93);
  }
  s.tempo(52, 96);
  s.ritard(53, 56, 96, 66);
  s.tempo(56, 60);
  s.finish(59);
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  try {
    std::filesystem::create_directories(folder);
    const std::pair<const char*, Song (*)()> songs[] = {
        {"Music1.mid", laguMenyan},
        {"Music2.mid", graveyardShuffle},
        {"Music3.mid", musicBoxWaltz},
        {"Music4.mid", ghostShipShanty},
    };
    for (const auto& [file, compose] : songs) {
      Song song = compose();
      const Bytes bytes = song.file();
      std::ofstream out(folder / file, std::ios::binary);
      out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
      if (!out) fail("cannot write " + (folder / file).string());
      std::printf("%s: %.1f s\n", file, song.seconds());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_songs: %s\n", e.what());
    return 1;
  }
  return 0;
}
