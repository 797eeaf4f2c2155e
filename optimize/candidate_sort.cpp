#include "candidate_sort.h"

#include "text_columns.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <numeric>
#include <optional>

namespace {

// Counts over positions 1..n.
class TFenwickTree
{
public:
    explicit TFenwickTree(std::size_t n)
        : m_tree(n + 1, 0)
    { }

    // Every position of 1..n holding 1, built in O(n).
    void FillOnes(std::size_t n)
    {
        m_tree.assign(n + 1, 0);
        for (std::size_t i = 1; i <= n; ++i) {
            m_tree[i] += 1;
            const std::size_t parent = i + (i & (~i + 1));
            if (parent <= n)
                m_tree[parent] += m_tree[i];
        }
    }

    void Add(std::size_t position, int delta)
    {
        for (; position < m_tree.size(); position += position & (~position + 1))
            m_tree[position] += delta;
    }

    // The sum over positions 1..position.
    std::uint32_t Prefix(std::size_t position) const
    {
        std::uint32_t sum = 0;
        for (; position > 0; position -= position & (~position + 1))
            sum += m_tree[position];
        return sum;
    }

    // The smallest position whose prefix sum reaches k (k ≥ 1, at most the total).
    std::size_t Find(std::uint32_t k) const
    {
        std::size_t position = 0;
        std::size_t stride = 1;
        while (stride * 2 < m_tree.size())
            stride *= 2;
        for (; stride > 0; stride /= 2) {
            if (position + stride < m_tree.size() && m_tree[position + stride] < k) {
                position += stride;
                k -= m_tree[position];
            }
        }
        return position + 1;
    }

private:
    std::vector<std::uint32_t> m_tree;
};

// Which of the positions 0..n-1 are marked, and how many marked ones stand before a position: a
// bit per position and a Fenwick tree over the 64-bit words, small enough to stay in the cache.
class TMarkedPositions
{
public:
    explicit TMarkedPositions(std::size_t n)
        : m_words((n + 63) / 64, 0)
        , m_wordCounts(m_words.size())
    { }

    void Mark(std::size_t position)
    {
        m_words[position / 64] |= std::uint64_t {1} << (position % 64);
        m_wordCounts.Add(position / 64 + 1, 1);
        ++m_count;
    }

    std::uint32_t Before(std::size_t position) const
    {
        const std::size_t word = position / 64;
        const std::uint64_t below = (std::uint64_t {1} << (position % 64)) - 1;
        const int inWord = word < m_words.size() ? std::popcount(m_words[word] & below) : 0;
        return m_wordCounts.Prefix(word) + static_cast<std::uint32_t>(inWord);
    }

    std::uint32_t Count() const { return m_count; }

private:
    std::vector<std::uint64_t> m_words;
    TFenwickTree m_wordCounts;
    std::uint32_t m_count = 0;
};

// The exchange sort puts the smallest remaining key at index i, exchanging row i with every later
// row of a smaller key than the one it holds. For the rows of one key v, only rows of keys ≤ v
// matter: walking them in their present order with a queue of the v-rows seen, a v-row joins the
// queue's back and a row of a smaller key moves the queue's front to its back; the queue at the end
// is the v-rows' final order. The moves between two v-rows are counted over the marked positions
// of the smaller keys and applied as one rotation; the queue itself is kept as a cycle with a head,
// each new row inserted just before the head, and the cycle is rebuilt from the insertion indices
// backwards with a Fenwick tree of free slots.
class TExchangeOrder
{
public:
    explicit TExchangeOrder(std::size_t n)
        : m_smaller(n)
    {
        m_order.reserve(n);
    }

    // The rows of the next larger key, their present positions ascending.
    void AddKey(const std::uint32_t *rows, std::size_t m)
    {
        if (m == 1) {
            m_order.push_back(rows[0]);
        } else {
            m_inserted.assign(m, 0);
            std::uint64_t head = 0;
            std::uint32_t before = m_smaller.Before(rows[0]);
            for (std::size_t j = 0; j < m; ++j) {
                if (j > 0) {
                    const std::uint32_t now = m_smaller.Before(rows[j]);
                    head = (head + now - before) % j;
                    before = now;
                }
                m_inserted[j] = static_cast<std::uint32_t>(head);
                ++head;
            }
            head = (head + m_smaller.Count() - before) % m;

            m_cycle.assign(m, 0);
            m_free.FillOnes(m);
            for (std::size_t j = m; j-- > 0;) {
                const std::size_t slot = m_free.Find(m_inserted[j] + 1);
                m_cycle[slot - 1] = rows[j];
                m_free.Add(slot, -1);
            }
            for (std::size_t k = 0; k < m; ++k)
                m_order.push_back(m_cycle[(head + k) % m]);
        }
        for (std::size_t j = 0; j < m; ++j)
            m_smaller.Mark(rows[j]);
    }

    TRowOrder Take() { return std::move(m_order); }

private:
    TMarkedPositions m_smaller; // the rows of the keys placed so far
    TRowOrder m_order;
    std::vector<std::uint32_t> m_inserted;
    std::vector<std::uint32_t> m_cycle;
    TFenwickTree m_free {0}; // the free slots of the cycle being rebuilt
};

// Keys that are whole numbers of hundredths, tenths or units spanning less than 2^32 of them have
// small codes: such a key and its row's position are packed into one 64-bit word, and a radix sort
// by the code, stable in the positions, gives the rows by key.
template<typename Key>
std::optional<TUninitializedVector<std::uint64_t>> PackedByKey(std::size_t n, const Key &key)
{
    constexpr std::array<double, 3> scales {1, 10, 100};
    std::array<bool, 3> fits {true, true, true};
    std::array<double, 3> lowest, highest;
    lowest.fill(std::numeric_limits<double>::infinity());
    highest.fill(-std::numeric_limits<double>::infinity());
    if (n > std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    // The keys are read once, kept as their bits until the code is known.
    TUninitializedVector<std::uint64_t> packed(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double k = key(i);
        packed[i] = std::bit_cast<std::uint64_t>(k);
        for (std::size_t s = 0; s < scales.size(); ++s) {
            const double code = std::nearbyint(k * scales[s]);
            fits[s] = fits[s] && code / scales[s] == k && std::fabs(code) < 1e15;
            lowest[s] = std::min(lowest[s], code);
            highest[s] = std::max(highest[s], code);
        }
    }
    std::size_t s = 0;
    while (s < scales.size() && !(fits[s] && highest[s] - lowest[s] < 4294967296.0))
        ++s;
    if (s == scales.size())
        return std::nullopt;
    for (std::size_t i = 0; i < n; ++i) {
        const double k = std::bit_cast<double>(packed[i]);
        const auto code = static_cast<std::uint64_t>(std::nearbyint(k * scales[s]) - lowest[s]);
        packed[i] = code << 32 | i;
    }
    // Stable least-significant-digit passes over the code's bytes; a byte that all codes share is
    // skipped.
    TUninitializedVector<std::uint64_t> buffer(n);
    for (int shift = 32; shift < 64; shift += 8) {
        std::array<std::size_t, 257> start {};
        for (const std::uint64_t word : packed)
            ++start[((word >> shift) & 0xFF) + 1];
        if (std::find(start.begin(), start.end(), n) != start.end())
            continue;
        for (std::size_t b = 1; b < start.size(); ++b)
            start[b] += start[b - 1];
        for (const std::uint64_t word : packed)
            buffer[start[(word >> shift) & 0xFF]++] = word;
        packed.swap(buffer);
    }
    return packed;
}

template<typename Key>
TRowOrder ExchangeSortOrderBy(std::size_t n, const Key &key)
{
    if (auto packed = PackedByKey(n, key)) {
        TExchangeOrder order(n);
        std::vector<std::uint32_t> rows;
        for (std::size_t first = 0; first < n;) {
            const std::uint64_t code = (*packed)[first] >> 32;
            rows.clear();
            std::size_t last = first;
            for (; last < n && (*packed)[last] >> 32 == code; ++last)
                rows.push_back(static_cast<std::uint32_t>((*packed)[last]));
            order.AddKey(rows.data(), rows.size());
            first = last;
        }
        return order.Take();
    }
    std::vector<double> keys(n);
    for (std::size_t i = 0; i < n; ++i)
        keys[i] = key(i);
    std::vector<std::uint32_t> byKey(n);
    std::iota(byKey.begin(), byKey.end(), 0u);
    std::stable_sort(byKey.begin(), byKey.end(),
                     [&keys](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
    TExchangeOrder order(n);
    for (std::size_t first = 0; first < n;) {
        std::size_t last = first;
        while (last < n && keys[byKey[last]] == keys[byKey[first]])
            ++last;
        order.AddKey(byKey.data() + first, last - first);
        first = last;
    }
    return order.Take();
}

} // namespace

TRowOrder ExchangeSortOrder(const std::vector<double> &keys)
{
    return ExchangeSortOrderBy(keys.size(), [&keys](std::size_t i) { return keys[i]; });
}

namespace {

template<typename Key>
void SortOrReverse(TCandidateTable &table, int &state, Key &&key)
{
    if (state == 0) {
        TRowOrder order = ExchangeSortOrderBy(
            table.Size(), [&table, &key](std::size_t k) { return key(table.order[k]); });
        for (std::uint32_t &index : order)
            index = table.order[index];
        table.order = std::move(order);
        state = 1;
    } else {
        std::reverse(table.order.begin(), table.order.end());
        state = 3 - state;
    }
}

} // namespace

TSortClick ClickHeader(TCandidateTable &table, TSortState &state, int column)
{
    TSortClick click;
    if (table.Size() < 2) {
        click.status = "无需排序";
        return click;
    }
    click.selectFirstRow = true;
    // The d key is the size as calculated, which its general-form text gives back exactly.
    if (column == CandidateColumn::SizeD) {
        // Neighbouring rows mostly share their size: the last one is kept.
        std::size_t lastSlot = SIZE_MAX;
        double lastD = 0;
        SortOrReverse(table, state.sortStateD, [&](std::uint32_t index) {
            const std::size_t slot = table.store->SizeSlot(index);
            if (slot != lastSlot) {
                lastSlot = slot;
                lastD = table.store->SizeD(index);
            }
            return lastD;
        });
        state.sortStateRa = 0;
    } else if (column == CandidateColumn::Ra) {
        SortOrReverse(table, state.sortStateRa, [&table](std::uint32_t index) {
            return RaValue(table.store->Ra(index), table.context.rounding);
        });
        state.sortStateD = 0;
    } else {
        click.status = "仅支持d、Ra排序";
        return click;
    }
    click.sorted = true;
    click.setHeaders = true;
    const char *mark = "";
    if (state.sortStateD != 0) {
        const bool up = state.sortStateD == 1;
        click.status = up ? "d升序排列完成" : "d降序排列完成";
        mark = up ? "▲" : "▼";
        click.dHeader = PadLeft(std::string("d|a(mm)") + mark, " ", 8);
        click.raHeader = CandidateHeader(CandidateColumn::Ra);
    } else {
        const bool up = state.sortStateRa == 1;
        click.status = up ? "Ra升序排列完成" : "Ra降序排列完成";
        mark = up ? "▲" : "▼";
        click.dHeader = CandidateHeader(CandidateColumn::SizeD);
        click.raHeader = PadLeft(std::string("Ra(kN)") + mark, " ", 8);
    }
    return click;
}
