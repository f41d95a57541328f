#pragma once

#include <memory>

// A pointer array kept in the order of Compare; Insert places each item by binary search.
template <class Item> class SortedArray {
public:
    virtual ~SortedArray() = default;

    virtual void InsertAt(int index, std::unique_ptr<Item> item) = 0;
    virtual Item* GetAt(int index) const = 0;
    virtual int GetCount() const = 0;
    // Not const on the items: comparing may fill a cache of the item (a driver's fastest lap).
    virtual int Compare(Item* a, Item* b) const = 0;

    // Index of an equal element, or -1 - p for the insertion point p.
    int Search(Item* item, int low, int high) const {
        int mid = (low + high) / 2;
        while (low != high) {
            const int c = Compare(item, GetAt(mid));
            if (c < 0)
                high = mid;
            if (c > 0)
                low = mid + 1;
            if (c == 0)
                return mid;
            mid = (low + high) / 2;
        }
        return -1 - mid;
    }

    int Find(Item* item) const { return Search(item, 0, GetCount()); }

    int Insert(std::unique_ptr<Item> item) {
        int p = Find(item.get());
        if (p < 0)
            p = -1 - p;
        InsertAt(p, std::move(item));
        return p;
    }
};
