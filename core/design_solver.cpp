#include "design_solver.h"

#include "calculation.h"
#include "design_load.h"
#include "messages.h"

#include <cmath>
#include <cstdint>
#include <optional>

namespace {

constexpr int MaxStepDecimals = 6;

// The grid in whole units of 10^-decimals: value k is first + k·step, k = 0 … last.
struct TGrid
{
    int decimals = 0;
    std::int64_t first = 0;
    std::int64_t step = 1;
    std::int64_t last = 0;

    std::string Text(std::int64_t k) const
    {
        std::string digits = std::to_string(first + k * step);
        if (decimals == 0)
            return digits;
        if (digits.size() <= static_cast<std::size_t>(decimals))
            digits.insert(0, decimals + 1 - digits.size(), '0');
        digits.insert(digits.size() - decimals, 1, '.');
        return digits;
    }
};

std::optional<TGrid> MakeGrid(TDesignFor target, double step)
{
    const double lowest = target == TDesignFor::SocketDepth ? 0 : 100;
    const double highest = target == TDesignFor::SocketDepth ? 100 : 10000;
    if (!std::isfinite(step) || !(step > 0) || step > highest - lowest)
        return std::nullopt;
    double scale = 1;
    for (int decimals = 0; decimals <= MaxStepDecimals; ++decimals, scale *= 10) {
        const double units = std::round(step * scale);
        if (units < 1 || std::fabs(step * scale - units) > 1e-9 * units)
            continue;
        TGrid grid;
        grid.decimals = decimals;
        grid.step = static_cast<std::int64_t>(units);
        grid.first = static_cast<std::int64_t>(std::llround(lowest * scale));
        const auto range = static_cast<std::int64_t>(std::llround((highest - lowest) * scale));
        grid.last = range / grid.step;
        return grid;
    }
    return std::nullopt;
}

// One probe of the search: the pile with grid value k calculated and checked.
struct TProbe
{
    std::optional<std::string> failure; // the pile fails its checks
    bool carries = false;
    double h = 0;
    double Ra = 0;
    double capacity = 0;
};

class TSearch
{
public:
    TSearch(const TPileInput &input, TDesignFor target, const TDesignLoad &load, const TGrid &grid)
        : m_pile(input)
        , m_target(target)
        , m_load(load)
        , m_grid(grid)
    { }

    TProbe Probe(std::int64_t k)
    {
        ++m_calculations;
        Target() = m_grid.Text(k);
        const TCalcOutcome outcome = Calculate(m_pile);
        TProbe probe;
        if (!outcome.ok()) {
            // Ra = 0 carries nothing; a larger value may still carry N.
            if (outcome.failure->stage != TFailureStage::Result
                || outcome.failure->message != Messages::RaZero)
                probe.failure = outcome.failure->message;
            return probe;
        }
        probe.h = outcome.result.h;
        probe.Ra = outcome.result.Ra;
        if (!(outcome.result.Ra > 0))
            return probe; // a negative Ra (from a negative layer thickness) carries nothing
        const TLoadCheck check = CheckLoad(m_load, outcome.result.Ra);
        if (!check.made()) {
            probe.failure = check.error;
            return probe;
        }
        probe.carries = check.ok;
        probe.capacity = check.capacity;
        return probe;
    }

    int Calculations() const { return m_calculations; }

private:
    std::string &Target()
    {
        return m_target == TDesignFor::SocketDepth ? m_pile.rockLayers.back().hi : m_pile.d;
    }

    TPileInput m_pile;
    TDesignFor m_target;
    TDesignLoad m_load;
    TGrid m_grid;
    int m_calculations = 0;
};

TDesignAnswer NoAnswer(std::string_view message, int calculations = 0)
{
    TDesignAnswer answer;
    answer.message = message;
    answer.calculations = calculations;
    return answer;
}

} // namespace

bool IsDesignStep(TDesignFor target, double step)
{
    return MakeGrid(target, step).has_value();
}

TDesignAnswer SolveDesign(const TPileInput &input, TDesignFor target, double step)
{
    const TLoadReading reading = ReadDesignLoad(input);
    if (!reading.ok())
        return NoAnswer(reading.error);
    if (!reading.load)
        return NoAnswer(Messages::NoLoad);
    const auto grid = MakeGrid(target, step);
    if (!grid || input.rockLayers.empty())
        return NoAnswer(Messages::StepError);
    // Whether a value carries N is monotone over the grid once the first value does not carry it.
    // The last layer's thickness enters Ra only through its side resistance qra·hi·u (qra ≥ 0),
    // except that below a total socket depth of 0.5 m no layer has side resistance and c1 is
    // lowered: there Ra does not depend on the thickness at all, and the step up to 0.5 m may even
    // lower Ra when an upper layer has a negative thickness. So below 0.5 m every value carries as
    // the first one does, and above it Ra grows with the thickness. With the size, Ra is the tip
    // term growing with Ap plus a term in u (0 at size 0): where it reaches N > 0 it grows. The
    // search is bisection over the calculation itself, never an interpolation; it ends with the
    // answer calculated and one step less calculated and not carrying.
    TSearch search(input, target, *reading.load, *grid);
    TProbe best = search.Probe(grid->last);
    if (best.failure)
        return NoAnswer(*best.failure, search.Calculations());
    if (!best.carries) {
        return NoAnswer(target == TDesignFor::SocketDepth ? Messages::DepthBeyondLimit
                                                          : Messages::SizeBeyondLimit,
                        search.Calculations());
    }
    std::int64_t low = 0; // does not carry N
    std::int64_t high = grid->last; // carries N
    if (TProbe first = search.Probe(0); first.failure) {
        return NoAnswer(*first.failure, search.Calculations());
    } else if (first.carries) {
        high = 0;
        best = first;
    }
    while (high - low > 1) {
        const std::int64_t middle = low + (high - low) / 2;
        TProbe probe = search.Probe(middle);
        if (probe.failure)
            return NoAnswer(*probe.failure, search.Calculations());
        if (probe.carries) {
            high = middle;
            best = probe;
        } else {
            low = middle;
        }
    }
    TDesignAnswer answer;
    answer.ok = true;
    answer.value = grid->Text(high);
    answer.h = best.h;
    answer.Ra = best.Ra;
    answer.capacity = best.capacity;
    answer.calculations = search.Calculations();
    return answer;
}

TPileInput WithDesignValue(const TPileInput &input, TDesignFor target, const std::string &value)
{
    TPileInput pile = input;
    if (target == TDesignFor::Size)
        pile.d = value;
    else if (!pile.rockLayers.empty())
        pile.rockLayers.back().hi = value;
    return pile;
}
