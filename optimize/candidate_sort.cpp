#include "candidate_sort.h"

#include "text_columns.h"

#include <algorithm>
#include <numeric>

namespace {

// Counts over positions 1..n.
class TFenwickTree
{
public:
    explicit TFenwickTree(std::size_t n)
        : m_tree(n + 1, 0)
    { }

    // Every position holding 1, built in O(n).
    static TFenwickTree AllOnes(std::size_t n)
    {
        TFenwickTree tree(n);
        for (std::size_t i = 1; i <= n; ++i) {
            tree.m_tree[i] += 1;
            const std::size_t parent = i + (i & (~i + 1));
            if (parent <= n)
                tree.m_tree[parent] += tree.m_tree[i];
        }
        return tree;
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

} // namespace

// The exchange sort puts the smallest remaining key at index i, exchanging row i with every later
// row of a smaller key than the one it holds. For the rows of one key v, only rows of keys ≤ v
// matter: walking them in their present order with a queue of the v-rows seen, a v-row joins the
// queue's back and a row of a smaller key moves the queue's front to its back; the queue at the end
// is the v-rows' final order. The moves between two v-rows are counted with a Fenwick tree over the
// positions of the smaller keys and applied as one rotation; the queue itself is kept as a cycle
// with a head, each new row inserted just before the head, and the cycle is rebuilt from the
// insertion indices backwards with a second Fenwick tree of free slots.
std::vector<std::uint32_t> ExchangeSortOrder(const std::vector<double> &keys)
{
    const std::size_t n = keys.size();
    std::vector<std::uint32_t> byKey(n);
    std::iota(byKey.begin(), byKey.end(), 0u);
    std::stable_sort(byKey.begin(), byKey.end(),
                     [&keys](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });

    std::vector<std::uint32_t> order;
    order.reserve(n);
    TFenwickTree smaller(n); // positions (1-based) of the rows with a key below the present one
    std::vector<std::uint32_t> inserted;
    std::vector<std::uint32_t> cycle;
    for (std::size_t first = 0; first < n;) {
        std::size_t last = first;
        while (last < n && keys[byKey[last]] == keys[byKey[first]])
            ++last;
        const std::uint32_t *rows = byKey.data() + first; // present positions, ascending
        const std::size_t m = last - first;

        inserted.assign(m, 0);
        std::uint64_t head = 0;
        for (std::size_t j = 0; j < m; ++j) {
            if (j > 0) {
                const std::uint32_t moves = smaller.Prefix(rows[j]) - smaller.Prefix(rows[j - 1]);
                head = (head + moves) % j;
            }
            inserted[j] = static_cast<std::uint32_t>(head);
            ++head;
        }
        head = (head + smaller.Prefix(n) - smaller.Prefix(rows[m - 1])) % m;

        cycle.assign(m, 0);
        TFenwickTree free = TFenwickTree::AllOnes(m);
        for (std::size_t j = m; j-- > 0;) {
            const std::size_t slot = free.Find(inserted[j] + 1);
            cycle[slot - 1] = rows[j];
            free.Add(slot, -1);
        }
        for (std::size_t k = 0; k < m; ++k)
            order.push_back(cycle[(head + k) % m]);

        for (std::size_t j = 0; j < m; ++j)
            smaller.Add(rows[j] + 1, 1);
        first = last;
    }
    return order;
}

namespace {

template<typename Key>
void SortOrReverse(TCandidateTable &table, int &state, Key &&key)
{
    if (state == 0) {
        std::vector<double> keys;
        keys.reserve(table.Size());
        for (const std::uint32_t index : table.order)
            keys.push_back(key(index));
        const std::vector<std::uint32_t> sorted = ExchangeSortOrder(keys);
        std::vector<std::uint32_t> order(sorted.size());
        for (std::size_t k = 0; k < sorted.size(); ++k)
            order[k] = table.order[sorted[k]];
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
        SortOrReverse(table, state.sortStateD,
                      [&table](std::uint32_t index) { return table.store->SizeD(index); });
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
