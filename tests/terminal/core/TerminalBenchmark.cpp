// Throughput of the emulator core on generated output into a 120x40 grid whose
// 10000-line scroll-back is already full, so every scroll evicts a line.

#include "terminal/core/Terminal.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using orva::Terminal;

constexpr int kCols = 120;
constexpr int kRows = 40;
constexpr std::size_t kInputSize = 4 << 20;

std::unique_ptr<Terminal> fullTerminal()
{
    auto t = std::make_unique<Terminal>(kCols, kRows, 10000);
    for (int i = 0; i < 10000 + kRows; ++i)
        t->feedText("history line\r\n");
    return t;
}

// Repeats `make(i)` until the text reaches the input size.
template <typename Make>
std::string generate(Make make)
{
    std::string out;
    out.reserve(kInputSize + 4096);
    for (int i = 0; out.size() < kInputSize; ++i)
        out += make(i);
    return out;
}

std::string word(int i)
{
    static const char* words[] = {"alpha", "build", "src/terminal/core", "main.cpp", "-rw-r--r--", "1024",
                                  "Dec", "10", "09:41", "README.md", "include", "=", "return", "{", "}"};
    return words[i % 15];
}

std::string plainLine(int i)
{
    std::string line;
    for (int w = 0; line.size() < 100; ++w)
        line += word(i * 7 + w) + " ";
    return line + "\r\n";
}

const std::string& plainText()
{
    static const std::string s = generate(plainLine);
    return s;
}

const std::string& wrappingLines()
{
    static const std::string s = generate([](int i) {
        std::string line;
        while (line.size() < 300 + static_cast<std::size_t>(i % 90))
            line += word(i + static_cast<int>(line.size())) + " ";
        return line + "\r\n";
    });
    return s;
}

const std::string& sgrColour()
{
    static const std::string s = generate([](int i) {
        std::string line;
        for (int w = 0; w < 12; ++w) {
            const int n = i * 12 + w;
            switch (n % 4) {
            case 0:
                line += "\x1b[1;" + std::to_string(31 + n % 7) + "m";
                break;
            case 1:
                line += "\x1b[38;5;" + std::to_string(n % 256) + "m";
                break;
            case 2:
                line += "\x1b[38;2;" + std::to_string(n % 256) + ";" + std::to_string((n * 3) % 256) + ";"
                    + std::to_string((n * 7) % 256) + "m";
                break;
            default:
                line += "\x1b[4;48;5;" + std::to_string(n % 256) + "m";
                break;
            }
            line += word(n) + "\x1b[0m ";
        }
        return line + "\r\n";
    });
    return s;
}

const std::string& hangul()
{
    static const std::string s = generate([](int i) {
        std::string line;
        for (int c = 0; c < 50; ++c) {
            const char32_t ch = 0xAC00 + static_cast<char32_t>((i * 50 + c) % 11172);
            line += orva::utf8Encode(ch);
            if (c % 6 == 5)
                line += ' ';
        }
        return line + "\r\n";
    });
    return s;
}

// Decomposed Hangul (initial, vowel, final jamo, as macOS keeps file names),
// letters with combining marks and emoji sequences: every cell a cluster.
const std::string& clusters()
{
    static const std::string s = generate([](int i) {
        std::string line;
        for (int c = 0; c < 12; ++c) {
            const int n = i * 12 + c;
            line += orva::utf8Encode(0x1100 + static_cast<char32_t>(n % 19));
            line += orva::utf8Encode(0x1161 + static_cast<char32_t>(n % 21));
            line += orva::utf8Encode(0x11A8 + static_cast<char32_t>(n % 27));
            line += "e\xCC\x81 ";
            line += n % 2 ? "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x92\xBB" : "\xE2\x9C\x85\xF0\x9F\x87\xB0\xF0\x9F\x87\xB7";
        }
        return line + "\r\n";
    });
    return s;
}

const std::string& fullScreenRedraws()
{
    static const std::string s = generate([](int i) {
        std::string frame = "\x1b[H";
        for (int r = 1; r <= kRows; ++r) {
            frame += "\x1b[" + std::to_string(r) + ";1H\x1b[" + std::to_string(30 + (r + i) % 8) + "m";
            std::string row;
            while (row.size() < kCols)
                row += word(i + r + static_cast<int>(row.size())) + " ";
            row.resize(kCols - 1);
            frame += row + "\x1b[K";
        }
        return frame + "\x1b[0m";
    });
    return s;
}

const std::string& parameterFlood()
{
    static const std::string s = generate([](int i) {
        std::string seq = "\x1b[";
        for (int p = 0; p < 200; ++p)
            seq += std::to_string((i + p) % 100) + ";";
        return seq + "m";
    });
    return s;
}

const std::string& oscFlood()
{
    static const std::string s = generate([](int i) {
        return "\x1b]0;" + std::string(6000, static_cast<char>('a' + i % 26)) + "\x07" + "\x1b]8;;file:///x\x1b\\";
    });
    return s;
}

void run(benchmark::State& state, const std::string& input)
{
    auto terminal = fullTerminal();
    for (auto _ : state) {
        terminal->feed(input.data(), input.size());
        benchmark::DoNotOptimize(terminal->cursorX());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(input.size()));
}

void BM_PlainText(benchmark::State& state) { run(state, plainText()); }
void BM_WrappingLines(benchmark::State& state) { run(state, wrappingLines()); }
void BM_SgrColour(benchmark::State& state) { run(state, sgrColour()); }
void BM_Hangul(benchmark::State& state) { run(state, hangul()); }
void BM_Clusters(benchmark::State& state) { run(state, clusters()); }
void BM_FullScreenRedraws(benchmark::State& state) { run(state, fullScreenRedraws()); }
void BM_ParameterFlood(benchmark::State& state) { run(state, parameterFlood()); }
void BM_OscFlood(benchmark::State& state) { run(state, oscFlood()); }

BENCHMARK(BM_PlainText);
BENCHMARK(BM_WrappingLines);
BENCHMARK(BM_SgrColour);
BENCHMARK(BM_Hangul);
BENCHMARK(BM_Clusters);
BENCHMARK(BM_FullScreenRedraws);
BENCHMARK(BM_ParameterFlood);
BENCHMARK(BM_OscFlood);

} // namespace

BENCHMARK_MAIN();
