#pragma once

#include <QtGlobal>

#include <initializer_list>
#include <vector>

// A small generator of our own (splitmix64): the same seed gives the same data on every platform and with
// every standard library, which the distributions of <random> do not promise.
class SeededRandom
{
public:
    explicit SeededRandom(quint64 seed) : m_state(seed) {}

    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return n <= 0 ? 0 : int(next() % quint64(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(int percent) { return below(100) < percent; }
    // An index chosen by the weights given.
    int weighted(std::initializer_list<int> weights)
    {
        int total = 0;
        for (int w : weights)
            total += w;
        int r = below(total);
        int k = 0;
        for (int w : weights) {
            if (r < w)
                return k;
            r -= w;
            ++k;
        }
        return k - 1;
    }
    template <typename T> void shuffle(std::vector<T>& items)
    {
        for (int i = int(items.size()) - 1; i > 0; --i)
            std::swap(items[size_t(i)], items[size_t(below(i + 1))]);
    }

private:
    quint64 m_state;
};
