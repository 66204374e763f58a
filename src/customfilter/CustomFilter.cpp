// The custom filter's literal form, its cached fast form and the pass over the selection.
#include "customfilter/CustomFilter.h"

#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <new>
#include <system_error>
#include <thread>

#include "app/Document.h"
#include "filters/SelectionPass.h"
#include "platform/Cursor.h"

namespace lf {

namespace {

// Pixels are stored blue, green, red: the byte offset of each variable.
constexpr int kOffset[3] = {2, 1, 0};

void ReplaceAll(std::string& text, const char* variable, const std::string& value) {
    std::string result;
    result.reserve(text.size() + 8);
    size_t from = 0;
    for (size_t at; (at = text.find(variable, from)) != std::string::npos; from = at + 2) {
        result.append(text, from, at - from);
        result += value;
    }
    result.append(text, from, std::string::npos);
    text.swap(result);
}

// Which variables the literal form can read. A value put in for R1 may begin with "1" and so
// complete a "G1" or "B1" from a letter just before it ("GR1" with r = 123 reads g's text).
uint8_t LiteralUsedMask(const std::string& text) {
    auto has = [&text](const char* s) { return text.find(s) != std::string::npos; };
    uint8_t mask = 0;
    if (has("R1")) mask |= 1u << kVariableR;
    if (has("G1") || has("GR1")) mask |= 1u << kVariableG;
    if (has("B1") || has("BR1") || has("BG1") || has("BGR1")) mask |= 1u << kVariableB;
    return mask;
}

}  // namespace

std::string SubstituteVariables(const std::string& expression, uint8_t r, uint8_t g, uint8_t b) {
    std::string text = expression;
    ReplaceAll(text, "R1", std::to_string(r));
    ReplaceAll(text, "G1", std::to_string(g));
    ReplaceAll(text, "B1", std::to_string(b));
    return text;
}

uint8_t ChannelByte(bool failed, Extended value) {
    if (failed || !(value > 0)) return 0;
    if (value > 255) return 255;
    // Adding and taking away 2^63 leaves the nearest integer, a half going to the even one, in
    // the default rounding mode: what nearbyint gives, without its save and restore of the
    // floating-point environment, which costs more than the rest of a compiled formula.
    constexpr Extended kTwoTo63 = 9223372036854775808.0L;
    const Extended rounded = (value + kTwoTo63) - kTwoTo63;
    return static_cast<uint8_t>(rounded);
}

uint8_t LiteralChannelValue(TMathParser& parser, const std::string& expression, uint8_t r, uint8_t g,
                            uint8_t b) {
    parser.ParseString = SubstituteVariables(expression, r, g, b);
    parser.Parse();
    return ChannelByte(parser.ParseFailed, parser.ParseValue);
}

void CustomFilterLiteralKernel(Bitmap& work, TMathParser& parser, const std::string& RExpr,
                               const std::string& GExpr, const std::string& BExpr) {
    for (int32_t y = 0; y < work.Height(); ++y) {
        uint8_t* pixel = work.ScanLine(y);
        for (int32_t x = 0; x < work.Width(); ++x, pixel += 3) {
            const uint8_t b = pixel[0], g = pixel[1], r = pixel[2];
            // All three from the pixel as it was: nothing is stored before the last is known.
            const uint8_t newR = LiteralChannelValue(parser, RExpr, r, g, b);
            const uint8_t newG = LiteralChannelValue(parser, GExpr, r, g, b);
            const uint8_t newB = LiteralChannelValue(parser, BExpr, r, g, b);
            pixel[0] = newB;
            pixel[1] = newG;
            pixel[2] = newR;
        }
    }
}

ChannelEvaluator::ChannelEvaluator(const std::string& expression, TMathParser& parser)
    : expression_(expression), parser_(&parser), compiled_(CompiledFormula::Compile(expression)) {
    usedMask_ = compiled_ ? compiled_->UsedMask() : LiteralUsedMask(expression);
    int vars[3], count = 0;
    for (int v = 0; v < 3; ++v) {
        if ((usedMask_ >> v) & 1) vars[count++] = v;
    }
    uint8_t values[3] = {0, 0, 0};
    if (count == 0) {
        kind_ = Kind::Constant;
        constant_ = Compute(0, 0, 0);
        table_.assign(256, constant_);
    } else if (count == 1) {
        kind_ = Kind::OneVariable;
        first_ = kOffset[vars[0]];
        table_.resize(256);
        for (int i = 0; i < 256; ++i) {
            values[vars[0]] = static_cast<uint8_t>(i);
            table_[i] = Compute(values[0], values[1], values[2]);
        }
        identityAt_ = first_;
        for (int i = 0; i < 256 && identityAt_ >= 0; ++i) {
            if (table_[i] != i) identityAt_ = -1;
        }
    } else if (count == 2 && compiled_) {
        kind_ = Kind::TwoVariables;
        first_ = kOffset[vars[0]];
        second_ = kOffset[vars[1]];
        table_.resize(65536);
        for (int i = 0; i < 65536; ++i) {
            values[vars[0]] = static_cast<uint8_t>(i >> 8);
            values[vars[1]] = static_cast<uint8_t>(i);
            table_[i] = Compute(values[0], values[1], values[2]);
        }
    } else if (compiled_ && PrepareSplit()) {
        kind_ = Kind::Split;
    } else {
        // 65536 literal parses would cost more than most selections.
        kind_ = Kind::OnDemand;
        for (int v = 0; v < 3; ++v) {
            if ((usedMask_ >> v) & 1) keyMask_ |= 0xFFu << (8 * (2 - v));
        }
        cache_ = std::make_unique<ZeroedTable>();
    }
}

bool ChannelEvaluator::PrepareSplit() {
    const std::optional<CompiledFormula::Split> split = compiled_->FindSplit();
    if (!split) return false;
    // Inner values for every (u, v), told apart by their bits; a failing one fails the formula.
    struct Inner {
        unsigned __int128 bits;
        Extended value;
        uint16_t index;
        bool ok;
    };
    std::vector<Inner> inner(65536);
    for (int i = 0; i < 65536; ++i) {
        Inner& in = inner[i];
        in.value = 0;
        in.ok = compiled_->EvaluateInner(Extended(i >> 8), Extended(i & 0xFF), in.value);
        in.bits = 0;
        if (in.ok) std::memcpy(&in.bits, &in.value, 10);
        in.index = static_cast<uint16_t>(i);
    }
    std::sort(inner.begin(), inner.end(),
              [](const Inner& a, const Inner& b) { return a.ok != b.ok ? a.ok < b.ok : a.bits < b.bits; });
    // Class 0 is the failing one; the others are the distinct values in order.
    constexpr size_t kMaxClasses = 1024;  // (classes × 256) evaluations must stay cheap
    std::vector<Extended> values{0};
    classes_.assign(65536, 0);
    for (size_t i = 0; i < inner.size(); ++i) {
        if (!inner[i].ok) continue;
        if (values.size() == 1 || !inner[i - 1].ok || inner[i].bits != inner[i - 1].bits) {
            if (values.size() == kMaxClasses) return false;
            values.push_back(inner[i].value);
        }
        classes_[inner[i].index] = static_cast<uint16_t>(values.size() - 1);
    }
    table_.assign(values.size() * 256, 0);
    for (size_t k = 1; k < values.size(); ++k) {
        for (int w = 0; w < 256; ++w) {
            Extended value = 0;
            const bool ok = compiled_->EvaluateOuter(values[k], Extended(w), value);
            table_[k * 256 + w] = ChannelByte(!ok, value);
        }
    }
    first_ = kOffset[split->u];
    second_ = kOffset[split->v];
    third_ = kOffset[split->w];
    return true;
}

ChannelEvaluator::ZeroedTable::ZeroedTable() {
    constexpr size_t kHugePage = size_t{2} << 20;
    const size_t bytes = (size_t{1} << 24) * sizeof(uint16_t);
    size_ = bytes + kHugePage;
    mapping_ = mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping_ == MAP_FAILED) {
        mapping_ = nullptr;
        throw std::bad_alloc();
    }
    const uintptr_t aligned = (reinterpret_cast<uintptr_t>(mapping_) + kHugePage - 1) & ~(kHugePage - 1);
    data_ = reinterpret_cast<uint16_t*>(aligned);
    madvise(data_, bytes, MADV_HUGEPAGE);  // a hint: without it the table works, only slower
}

ChannelEvaluator::ZeroedTable::~ZeroedTable() {
    if (mapping_) munmap(mapping_, size_);
}

uint8_t ChannelEvaluator::Compute(uint8_t r, uint8_t g, uint8_t b) const {
    if (!compiled_) return LiteralChannelValue(*parser_, expression_, r, g, b);
    const Extended variables[3] = {Extended(r), Extended(g), Extended(b)};
    Extended value = 0;
    const bool ok = compiled_->Evaluate(variables, value);
    return ChannelByte(!ok, value);
}

void ChannelEvaluator::Row(const uint8_t* pixels, int32_t width, uint8_t* out) {
    switch (kind_) {
        case Kind::Constant:
            for (int32_t x = 0; x < width; ++x) out[x] = constant_;
            break;
        case Kind::OneVariable: {
            const uint8_t* table = table_.data();
            const uint8_t* p = pixels + first_;
            for (int32_t x = 0; x < width; ++x) out[x] = table[p[3 * x]];
            break;
        }
        case Kind::TwoVariables: {
            const uint8_t* table = table_.data();
            const uint8_t* p = pixels + first_;
            const uint8_t* q = pixels + second_;
            for (int32_t x = 0; x < width; ++x) out[x] = table[(p[3 * x] << 8) | q[3 * x]];
            break;
        }
        case Kind::Split: {
            const uint8_t* table = table_.data();
            const uint16_t* classes = classes_.data();
            const uint8_t* p = pixels + first_;
            const uint8_t* q = pixels + second_;
            const uint8_t* w = pixels + third_;
            for (int32_t x = 0; x < width; ++x) {
                out[x] = table[(size_t{classes[(p[3 * x] << 8) | q[3 * x]]} << 8) | w[3 * x]];
            }
            break;
        }
        case Kind::OnDemand: {
            uint16_t* cache = cache_->data();
            for (int32_t x = 0; x < width; ++x) {
                const uint8_t b = pixels[3 * x], g = pixels[3 * x + 1], r = pixels[3 * x + 2];
                const uint32_t key = ((uint32_t{r} << 16) | (uint32_t{g} << 8) | b) & keyMask_;
                // Threads of one sweep share the cache; whoever fills an entry fills in the same value.
                std::atomic_ref<uint16_t> entry(cache[key]);
                uint16_t known = entry.load(std::memory_order_relaxed);
                if (known == 0) {
                    known = static_cast<uint16_t>(Compute(static_cast<uint8_t>(key >> 16),
                                                          static_cast<uint8_t>(key >> 8),
                                                          static_cast<uint8_t>(key)) +
                                                  1);
                    entry.store(known, std::memory_order_relaxed);
                }
                out[x] = static_cast<uint8_t>(known - 1);
            }
            break;
        }
    }
}

namespace {

struct PreparedFilter {
    PreparedFilter(const std::string& RExpr, const std::string& GExpr, const std::string& BExpr,
                   TMathParser& parser)
        : red(RExpr, parser), green(GExpr, parser), blue(BExpr, parser) {}

    // True when the sweep itself parses no text: every table was filled before it, or the
    // formulas that fill theirs on demand are compiled, whose evaluation cannot throw. Such a
    // filter may rewrite the picture's rows in place, since it cannot stop halfway.
    bool SweepCannotThrow() const {
        return !red.ParsesDuringSweep() && !green.ParsesDuringSweep() && !blue.ParsesDuringSweep();
    }

    // One row's channel results, one set for each thread of a sweep.
    struct Scratch {
        explicit Scratch(size_t width) : r(width), g(width), b(width) {}
        std::vector<uint8_t> r, g, b;
    };

    void Row(uint8_t* pixels, int32_t width, Scratch& s) {
        if (red.SingleVariable() && green.SingleVariable() && blue.SingleVariable()) {
            FusedRow(pixels, width);
            return;
        }
        if (s.r.size() < static_cast<size_t>(width)) s = Scratch(static_cast<size_t>(width));
        red.Row(pixels, width, s.r.data());
        green.Row(pixels, width, s.g.data());
        blue.Row(pixels, width, s.b.data());
        for (int32_t x = 0; x < width; ++x) {
            pixels[3 * x] = s.b[x];
            pixels[3 * x + 1] = s.g[x];
            pixels[3 * x + 2] = s.r[x];
        }
    }

    // One sweep with three table lookups a pixel; a channel that keeps its own value is left alone.
    void FusedRow(uint8_t* pixels, int32_t width) {
        const ChannelEvaluator* channels[3] = {&blue, &green, &red};  // by byte offset
        int changed = 0, only = 0;
        for (int c = 0; c < 3; ++c) {
            if (!channels[c]->Identity(c)) ++changed, only = c;
        }
        if (changed == 0) return;
        if (changed == 1) {
            const uint8_t* table = channels[only]->Table();
            const int source = channels[only]->SourceOffset();
            for (int32_t x = 0; x < width; ++x) pixels[3 * x + only] = table[pixels[3 * x + source]];
            return;
        }
        const uint8_t *tr = red.Table(), *tg = green.Table(), *tb = blue.Table();
        const int sr = red.SourceOffset(), sg = green.SourceOffset(), sb = blue.SourceOffset();
        for (int32_t x = 0; x < width; ++x, pixels += 3) {
            const uint8_t newR = tr[pixels[sr]], newG = tg[pixels[sg]], newB = tb[pixels[sb]];
            pixels[0] = newB;
            pixels[1] = newG;
            pixels[2] = newR;
        }
    }

    ChannelEvaluator red, green, blue;
};

// Rows top to bottom of the part of the selection inside the picture, in place, shared out among
// the processor's cores: every pixel's bytes depend on that pixel alone, so any split gives the
// same picture. Everything a thread needs is allocated first; a thread that cannot be started
// leaves its rows to the calling thread, so the sweep never stops halfway.
void ParallelPointSweep(PreparedFilter& filter) {
    HourglassCursor hourglass;
    const TRect v = VisibleSelection();
    const int32_t width = v.Right - v.Left, rows = v.Bottom - v.Top;
    if (width <= 0 || rows <= 0) return;
    constexpr int64_t kPixelsPerThread = 1 << 18;
    const int64_t byWork = std::max<int64_t>(1, int64_t{width} * rows / kPixelsPerThread);
    const int threads = static_cast<int>(
        std::min<int64_t>({std::max(1u, std::thread::hardware_concurrency()), 8, byWork, rows}));

    std::vector<PreparedFilter::Scratch> scratch(threads,
                                                 PreparedFilter::Scratch(static_cast<size_t>(width)));
    auto sweep = [&](int part) {
        const int32_t y0 = v.Top + static_cast<int32_t>(int64_t{rows} * part / threads);
        const int32_t y1 = v.Top + static_cast<int32_t>(int64_t{rows} * (part + 1) / threads);
        for (int32_t y = y0; y < y1; ++y)
            filter.Row(MainBitmap.ScanLine(y) + size_t(v.Left) * 3, width, scratch[part]);
    };
    std::vector<std::thread> workers;
    std::vector<int> leftOver;
    workers.reserve(threads);
    for (int part = 1; part < threads; ++part) {
        try {
            workers.emplace_back(sweep, part);
        } catch (const std::system_error&) {
            leftOver.push_back(part);
        }
    }
    sweep(0);
    for (int part : leftOver) sweep(part);
    for (std::thread& t : workers) t.join();
}

}  // namespace

void CustomFilterKernel(Bitmap& work, const std::string& RExpr, const std::string& GExpr,
                        const std::string& BExpr) {
    TMathParser parser;
    PreparedFilter filter(RExpr, GExpr, BExpr, parser);
    PreparedFilter::Scratch scratch(static_cast<size_t>(work.Width()));
    for (int32_t y = 0; y < work.Height(); ++y) filter.Row(work.ScanLine(y), work.Width(), scratch);
}

void CustomFilter(const std::string& RExpr, const std::string& GExpr, const std::string& BExpr,
                  TMathParser& parser) {
    PreparedFilter filter(RExpr, GExpr, BExpr, parser);
    if (filter.SweepCannotThrow()) {
        ParallelPointSweep(filter);
    } else {
        // Parsing as it goes: on a copy, so that an error leaves the picture as it was.
        SelectionPass([&filter](Bitmap& work) {
            PreparedFilter::Scratch scratch(static_cast<size_t>(work.Width()));
            for (int32_t y = 0; y < work.Height(); ++y) filter.Row(work.ScanLine(y), work.Width(), scratch);
        });
    }
}

void CustomFilter(const std::string& RExpr, const std::string& GExpr, const std::string& BExpr) {
    TMathParser parser;
    CustomFilter(RExpr, GExpr, BExpr, parser);
}

}  // namespace lf
