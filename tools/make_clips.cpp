// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Synthesises the four sound clips of the game and writes them as RIFF WAVE
// files (PCM, mono, 8-bit unsigned) into the folder given on the command line.
//
//   1.wav  a line claimed      22050 Hz   4,046 sample bytes   4,180 bytes in all
//   2.wav  game over           22050 Hz  38,909 sample bytes  39,024 bytes in all
//   3.wav  how-to-play window  11025 Hz  40,153 sample bytes  40,200 bytes in all
//   4.wav  About window        11025 Hz  57,880 sample bytes  58,020 bytes in all
//
// Clips 2 and 4 carry a "fact" chunk and a trailing "LIST"/"INFO" chunk, clip 1
// a trailing "LIST" chunk and clip 3 an 18-byte "fmt " chunk, so that the sizes
// above come out exactly and a player has to skip chunks it does not know.
// Everything is computed from fixed seeds: running the tool twice gives the
// same bytes.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Small deterministic generator for noise and dither.
class Lcg {
 public:
  explicit Lcg(std::uint32_t seed) : state_(seed) {}
  double next()  // uniform in [-1, 1)
  {
    state_ = state_ * 1664525u + 1013904223u;
    return (static_cast<double>(state_ >> 8) / 8388608.0) - 1.0;
  }

 private:
  std::uint32_t state_;
};

double noteHz(int semitonesFromA4) { return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0); }

// Attack / release envelope, linear ramps, for a note of length len seconds.
double arEnvelope(double t, double len, double attack, double release) {
  if (t < 0.0 || t >= len) return 0.0;
  double a = attack > 0.0 ? std::min(1.0, t / attack) : 1.0;
  double r = release > 0.0 ? std::min(1.0, (len - t) / release) : 1.0;
  return a * r;
}

// Soft organ tone: a few drawbar-like partials.
double organ(double phase) {
  return 0.55 * std::sin(phase) + 0.25 * std::sin(2.0 * phase) + 0.12 * std::sin(3.0 * phase) +
         0.06 * std::sin(4.0 * phase) + 0.04 * std::sin(6.0 * phase);
}

// Hollow reedy tone for the mock fanfare.
double reed(double phase) {
  return 0.6 * std::sin(phase) + 0.3 * std::sin(3.0 * phase) + 0.15 * std::sin(5.0 * phase) +
         0.08 * std::sin(2.0 * phase);
}

// Scales the mix so that its peak reaches `peak` (of full scale 1.0) and
// fades both ends so that the clip starts and stops without a click.
void finish(std::vector<double>& s, int rate, double peak, double fadeInSec, double fadeOutSec) {
  const int n = static_cast<int>(s.size());
  const int fin = std::max(1, static_cast<int>(fadeInSec * rate));
  const int fout = std::max(1, static_cast<int>(fadeOutSec * rate));
  for (int i = 0; i < n; ++i) {
    double g = 1.0;
    if (i < fin) g *= 0.5 - 0.5 * std::cos(kPi * i / fin);
    if (i >= n - fout) g *= 0.5 - 0.5 * std::cos(kPi * (n - 1 - i) / fout);
    s[i] *= g;
  }
  double m = 1e-9;
  for (double v : s) m = std::max(m, std::fabs(v));
  for (double& v : s) v *= peak / m;
}

std::vector<std::uint8_t> toUnsigned8(const std::vector<double>& s, std::uint32_t seed) {
  Lcg dither(seed);
  std::vector<std::uint8_t> out(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    // Triangular dither of one step keeps quiet tails from buzzing.
    // Silence stays exactly silent.
    double tpdf = 0.5 * (dither.next() + dither.next());
    if (std::fabs(s[i]) < 0.5 / 127.0) tpdf = 0.0;
    double v = 128.0 + s[i] * 127.0 + tpdf;
    out[i] = static_cast<std::uint8_t>(std::clamp(std::lround(v), 1L, 255L));
  }
  // Start and end exactly on the centre line.
  if (!out.empty()) {
    out.front() = 128;
    out.back() = 128;
  }
  return out;
}

// ---------------------------------------------------------------- clip 1
// A short hollow knock, like a knuckle bone tapped on a wooden coffin lid:
// a falling-pitch body, a woody overtone and a tiny click of noise.
std::vector<std::uint8_t> clipKnock() {
  const int rate = 22050;
  const int n = 4046;
  std::vector<double> s(n);
  Lcg noise(0x70C1u);
  double phBody = 0.0, phWood = 0.0, phHigh = 0.0;
  double lp = 0.0;
  for (int i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / rate;
    double fBody = 330.0 + 260.0 * std::exp(-t / 0.012);
    double fWood = 1180.0 + 120.0 * std::exp(-t / 0.01);
    phBody += 2.0 * kPi * fBody / rate;
    phWood += 2.0 * kPi * fWood / rate;
    phHigh += 2.0 * kPi * 2630.0 / rate;
    double body = std::sin(phBody) * std::exp(-t / 0.045);
    double wood = 0.55 * std::sin(phWood) * std::exp(-t / 0.018);
    double high = 0.18 * std::sin(phHigh) * std::exp(-t / 0.006);
    lp += 0.35 * (noise.next() - lp);  // softened click
    double click = 0.5 * lp * std::exp(-t / 0.0025);
    s[i] = body + wood + high + click;
  }
  finish(s, rate, 0.72, 0.0015, 0.03);
  return toUnsigned8(s, 0x1001u);
}

// ---------------------------------------------------------------- clip 2
// A little mock-triumphant fanfare: three bold rising notes, a proud chord
// that wobbles like a ghost running out of breath, and a "woo-oo" glide over it.
std::vector<std::uint8_t> clipFanfare() {
  const int rate = 22050;
  const int n = 38909;
  std::vector<double> s(n, 0.0);
  struct Note {
    double start, len;
    int semis;
  };
  // G4, C5, E5 ... then a held chord on G5 over C5/E5.
  const Note lead[] = {{0.00, 0.13, -2}, {0.14, 0.13, 3}, {0.28, 0.13, 7}};
  for (const Note& nt : lead) {
    double f = noteHz(nt.semis);
    for (int i = static_cast<int>(nt.start * rate); i < n; ++i) {
      double t = static_cast<double>(i) / rate - nt.start;
      if (t >= nt.len) break;
      double env = arEnvelope(t, nt.len, 0.008, 0.04);
      s[i] += 0.5 * env * reed(2.0 * kPi * f * t);
    }
  }
  const double chordStart = 0.42;
  const double chordLen = 1.30;
  const int chord[] = {3, 7, 10, 15};  // C5 E5 G5 C6
  for (int k = 0; k < 4; ++k) {
    double f = noteHz(chord[k]);
    double ph = 0.0;
    for (int i = static_cast<int>(chordStart * rate); i < n; ++i) {
      double t = static_cast<double>(i) / rate - chordStart;
      if (t >= chordLen) break;
      // Vibrato that grows, and a sag of pitch at the end: the ghost deflates.
      double vib = 1.0 + (0.004 + 0.02 * t) * std::sin(2.0 * kPi * (5.5 + k * 0.3) * t);
      double sag = 1.0 - 0.06 * std::pow(std::max(0.0, t - 0.85) / 0.45, 2.0);
      ph += 2.0 * kPi * f * vib * sag / rate;
      double env = arEnvelope(t, chordLen, 0.02, 0.35);
      s[i] += (k == 3 ? 0.16 : 0.24) * env * reed(ph);
    }
  }
  // Theremin-like "woo-oo" above the chord.
  {
    const double start = 0.50, len = 1.20;
    double ph = 0.0;
    for (int i = static_cast<int>(start * rate); i < n; ++i) {
      double t = static_cast<double>(i) / rate - start;
      if (t >= len) break;
      double glide = t < 0.35 ? t / 0.35 : 1.0 - 0.7 * std::max(0.0, t - 0.6) / 0.6;
      double f = noteHz(10) * std::pow(2.0, (glide * 7.0) / 12.0);
      f *= 1.0 + 0.012 * std::sin(2.0 * kPi * 6.0 * t);
      ph += 2.0 * kPi * f / rate;
      double env = arEnvelope(t, len, 0.25, 0.45);
      s[i] += 0.22 * env * (std::sin(ph) + 0.08 * std::sin(2.0 * ph));
    }
  }
  finish(s, rate, 0.80, 0.002, 0.06);
  return toUnsigned8(s, 0x2002u);
}

// Shared by clips 3 and 4: a melody on a theremin-like voice over staccato
// organ chords.
struct Melody {
  double start, len;
  int semis;  // relative to A4; 99 = rest
};

void addTheremin(std::vector<double>& s, int rate, const std::vector<Melody>& notes, double level) {
  // One continuous oscillator that glides between notes, as a theremin does.
  const int n = static_cast<int>(s.size());
  double ph = 0.0;
  double curHz = noteHz(notes.front().semis);
  for (int i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / rate;
    const Melody* active = nullptr;
    for (const Melody& m : notes)
      if (m.semis != 99 && t >= m.start && t < m.start + m.len) active = &m;
    if (!active) continue;
    double target = noteHz(active->semis);
    curHz += (target - curHz) * (1.0 - std::exp(-1.0 / (0.035 * rate)));
    double lt = t - active->start;
    double vib = 1.0 + 0.011 * std::sin(2.0 * kPi * 5.2 * t) * std::min(1.0, lt / 0.15);
    ph += 2.0 * kPi * curHz * vib / rate;
    double env = arEnvelope(lt, active->len, 0.05, 0.08);
    s[i] += level * env * (std::sin(ph) + 0.12 * std::sin(2.0 * ph) + 0.05 * std::sin(3.0 * ph));
  }
}

void addOrganStab(std::vector<double>& s, int rate, double start, double len,
                  std::initializer_list<int> semis, double level) {
  const int n = static_cast<int>(s.size());
  for (int semi : semis) {
    double f = noteHz(semi);
    for (int i = static_cast<int>(start * rate); i < n; ++i) {
      double t = static_cast<double>(i) / rate - start;
      if (t >= len) break;
      double env = arEnvelope(t, len, 0.01, 0.05) * (0.75 + 0.25 * std::exp(-t / 0.08));
      s[i] += level * env * organ(2.0 * kPi * f * t);
    }
  }
}

// A soft low "bong" like a distant bell, for the ends of phrases.
void addBell(std::vector<double>& s, int rate, double start, int semi, double level) {
  const int n = static_cast<int>(s.size());
  double f = noteHz(semi);
  for (int i = static_cast<int>(start * rate); i < n; ++i) {
    double t = static_cast<double>(i) / rate - start;
    double env = std::exp(-t / 0.7) * std::min(1.0, t / 0.004);
    if (env < 1e-4) break;
    s[i] += level * env *
            (std::sin(2.0 * kPi * f * t) + 0.5 * std::sin(2.0 * kPi * f * 2.76 * t) * std::exp(-t / 0.25) +
             0.3 * std::sin(2.0 * kPi * f * 5.4 * t) * std::exp(-t / 0.1));
  }
}

// ---------------------------------------------------------------- clip 3
// A creeping little tune in D minor: tiptoeing organ chords, a theremin that
// sneaks up the scale, trips over a wrong note and slides back down.
std::vector<std::uint8_t> clipHowTo() {
  const int rate = 11025;
  const int n = 40153;
  std::vector<double> s(n, 0.0);
  const double b = 0.30;  // one beat
  // Organ: "oom-pah" tiptoe in D minor then A7, back to D minor.
  const int Dm[] = {-7, -4, 0};    // D4 F4 A4
  const int A7[] = {-12, -5, -2};  // A3 E4 G4 (dominant colour)
  for (int beat = 0; beat < 12; ++beat) {
    double t0 = beat * b;
    bool dominant = beat >= 4 && beat < 8;
    const int* ch = dominant ? A7 : Dm;
    int bass = dominant ? -24 : -19;  // A2 / D3
    if (beat % 2 == 0)
      addOrganStab(s, rate, t0, 0.14, {bass}, 0.13);
    else
      addOrganStab(s, rate, t0, 0.12, {ch[0], ch[1], ch[2]}, 0.07);
  }
  std::vector<Melody> mel = {
      {0.00, 0.28, -7}, {0.30, 0.28, -5}, {0.60, 0.28, -4}, {0.90, 0.55, 0},
      {1.50, 0.26, 1},  {1.80, 0.26, 4},  {2.10, 0.40, 3},  // the wrong note, then a fix
      {2.55, 0.70, -7},
  };
  addTheremin(s, rate, mel, 0.32);
  addBell(s, rate, 2.55, -31, 0.22);
  finish(s, rate, 0.78, 0.004, 0.35);
  return toUnsigned8(s, 0x3003u);
}

// ---------------------------------------------------------------- clip 4
// A longer graveyard waltz: organ in 3/4, theremin melody that climbs,
// hangs, and ends on a silly "boo" drop and a bell.
std::vector<std::uint8_t> clipAbout() {
  const int rate = 11025;
  const int n = 57880;
  std::vector<double> s(n, 0.0);
  const double b = 0.27;
  // Bars of three beats: bass on 1, chord on 2 and 3.
  struct Bar {
    int bass;
    int c0, c1, c2;
  };
  const Bar cm{-21, -9, -6, -2};  // C minor
  const Bar fm{-16, -4, -1, 3};   // F minor
  const Bar g7{-14, -2, 2, 5};    // G seventh
  const Bar bars[] = {cm, fm, cm, fm, g7};
  for (int bar = 0; bar < 5; ++bar) {
    const Bar& br = bars[bar];
    for (int beat = 0; beat < 3; ++beat) {
      double t0 = (bar * 3 + beat) * b;
      if (beat == 0)
        addOrganStab(s, rate, t0, 0.2, {br.bass}, 0.14);
      else
        addOrganStab(s, rate, t0, 0.13, {br.c0, br.c1, br.c2}, 0.06);
    }
  }
  std::vector<Melody> mel = {
      {0.00, 0.50, -9}, {0.54, 0.26, -6}, {0.81, 0.50, -2},  {1.35, 0.26, 3},
      {1.62, 0.78, 2},  {2.43, 0.26, -1}, {2.70, 0.26, -2},  {2.97, 0.26, -4},
      {3.24, 0.50, -6}, {3.78, 0.26, -2}, {4.05, 1.00, -21},
  };
  addTheremin(s, rate, mel, 0.30);
  addOrganStab(s, rate, 4.05, 0.9, {-21, -9, -6, -2}, 0.07);
  addBell(s, rate, 4.05, -33, 0.25);
  finish(s, rate, 0.78, 0.004, 0.45);
  return toUnsigned8(s, 0x4004u);
}

// ---------------------------------------------------------------- writing

void put32(std::vector<std::uint8_t>& v, std::uint32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<std::uint8_t>(x >> (8 * i)));
}
void put16(std::vector<std::uint8_t>& v, std::uint16_t x) {
  v.push_back(static_cast<std::uint8_t>(x));
  v.push_back(static_cast<std::uint8_t>(x >> 8));
}
void putTag(std::vector<std::uint8_t>& v, const char* tag) { v.insert(v.end(), tag, tag + 4); }

void putChunk(std::vector<std::uint8_t>& v, const char* tag, const std::vector<std::uint8_t>& body) {
  putTag(v, tag);
  put32(v, static_cast<std::uint32_t>(body.size()));
  v.insert(v.end(), body.begin(), body.end());
  if (body.size() % 2) v.push_back(0);  // RIFF pad byte, not counted in the chunk size
}

// An INFO list of text entries; the last entry is padded with zero bytes so
// that the whole LIST chunk occupies exactly `chunkBytes` bytes in the file.
std::vector<std::uint8_t> infoList(const std::vector<std::pair<std::string, std::string>>& entries,
                                   std::size_t chunkBytes) {
  std::vector<std::uint8_t> body;
  putTag(body, "INFO");
  for (std::size_t k = 0; k < entries.size(); ++k) {
    std::vector<std::uint8_t> text(entries[k].second.begin(), entries[k].second.end());
    text.push_back(0);
    if (k + 1 == entries.size()) {
      // 8 (LIST header) + body so far + 8 (entry header) + text = chunkBytes
      std::size_t want = chunkBytes - 8 - body.size() - 8;
      if (text.size() > want || want % 2 != 0) {
        std::fprintf(stderr, "INFO text too long for the chunk size\n");
        std::exit(1);
      }
      text.resize(want, 0);
    }
    putChunk(body, entries[k].first.c_str(), text);
  }
  return body;
}

struct Layout {
  int rate;
  bool fmt18;
  bool fact;
  std::vector<std::pair<std::string, std::string>> info;  // empty: no LIST chunk
  std::size_t totalBytes;
};

std::vector<std::uint8_t> wavFile(const std::vector<std::uint8_t>& samples, const Layout& lay) {
  std::vector<std::uint8_t> fmt;
  put16(fmt, 1);                                     // PCM
  put16(fmt, 1);                                     // mono
  put32(fmt, static_cast<std::uint32_t>(lay.rate));  // samples per second
  put32(fmt, static_cast<std::uint32_t>(lay.rate));  // bytes per second
  put16(fmt, 1);                                     // block align
  put16(fmt, 8);                                     // bits per sample
  if (lay.fmt18) put16(fmt, 0);                      // no extra format bytes

  std::vector<std::uint8_t> chunks;
  putChunk(chunks, "fmt ", fmt);
  if (lay.fact) {
    std::vector<std::uint8_t> fact;
    put32(fact, static_cast<std::uint32_t>(samples.size()));
    putChunk(chunks, "fact", fact);
  }
  putChunk(chunks, "data", samples);
  if (!lay.info.empty()) {
    std::size_t listBytes = lay.totalBytes - 12 - chunks.size();
    putChunk(chunks, "LIST", infoList(lay.info, listBytes));
  }

  std::vector<std::uint8_t> file;
  putTag(file, "RIFF");
  put32(file, static_cast<std::uint32_t>(4 + chunks.size()));
  putTag(file, "WAVE");
  file.insert(file.end(), chunks.begin(), chunks.end());
  if (file.size() != lay.totalBytes) {
    std::fprintf(stderr, "clip came out %zu bytes instead of %zu\n", file.size(), lay.totalBytes);
    std::exit(1);
  }
  return file;
}

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  const std::string soft = "Nokturna sound workshop";

  struct Job {
    const char* name;
    std::vector<std::uint8_t> samples;
    Layout layout;
  };
  const Job jobs[] = {
      {"1.wav", clipKnock(), {22050, false, false, {{"INAM", "Bone knock"}, {"ISFT", soft}}, 4180}},
      {"2.wav", clipFanfare(), {22050, false, true, {{"INAM", "Ghostly fanfare"}}, 39024}},
      {"3.wav", clipHowTo(), {11025, true, false, {}, 40200}},
      {"4.wav",
       clipAbout(),
       {11025, false, true, {{"INAM", "Graveyard waltz"}, {"ICMT", "Boo!"}, {"ISFT", soft}}, 58020}},
  };
  for (const Job& job : jobs) {
    std::vector<std::uint8_t> file = wavFile(job.samples, job.layout);
    std::string path = dir + "/" + job.name;
    if (!writeFile(path, file)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("%s: %zu sample bytes, %zu bytes\n", path.c_str(), job.samples.size(), file.size());
  }
  return 0;
}
