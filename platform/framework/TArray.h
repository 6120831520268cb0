// An ordered list of values, indexed from 1. Items are copied in and out. Iterators that
// are walking the array stay valid when items are inserted or removed under them.
#pragma once

#include <algorithm>
#include <vector>

#include "framework/FrameworkTypes.h"

template <class T>
class TArrayIterator;

template <class T>
class TArray {
 public:
  static constexpr ArrayIndexT index_Bad = 0;
  static constexpr ArrayIndexT index_First = 1;
  static constexpr ArrayIndexT index_Last = 0x7FFFFFFF;

  TArray() = default;
  TArray(const TArray& other) : mItems(other.mItems) {}
  TArray& operator=(const TArray& other) {
    if (this != &other) {
      RemoveAllItems();
      InsertRange(1, other.mItems.begin(), other.mItems.end());
    }
    return *this;
  }
  ~TArray() {
    for (TArrayIterator<T>* it : mIterators) it->mArray = nullptr;
  }

  ArrayIndexT GetCount() const { return static_cast<ArrayIndexT>(mItems.size()); }
  bool ValidIndex(ArrayIndexT index) const { return index >= 1 && index <= GetCount(); }

  // Appends; returns the new item's index.
  ArrayIndexT AddItem(const T& item) {
    mItems.push_back(item);
    const ArrayIndexT at = GetCount();
    for (TArrayIterator<T>* it : mIterators) it->ItemsInserted(at, 1);
    return at;
  }

  // Inserts `count` copies of `item` before `atIndex`; an index past the end appends.
  // Returns the index of the first inserted item.
  ArrayIndexT InsertItemsAt(ArrayIndexT count, ArrayIndexT atIndex, const T& item) {
    ArrayIndexT at = ClampInsertIndex(atIndex);
    if (count <= 0) return at;
    mItems.insert(mItems.begin() + (at - 1), static_cast<size_t>(count), item);
    for (TArrayIterator<T>* it : mIterators) it->ItemsInserted(at, count);
    return at;
  }

  bool FetchItemAt(ArrayIndexT index, T& outItem) const {
    if (!ValidIndex(index)) return false;
    outItem = mItems[static_cast<size_t>(index - 1)];
    return true;
  }

  // Overwrites `count` items from `atIndex` with `item` (clamped to the existing items).
  void AssignItemsAt(ArrayIndexT count, ArrayIndexT atIndex, const T& item) {
    if (!ValidIndex(atIndex)) return;
    ArrayIndexT last = std::min<ArrayIndexT>(GetCount(), LastOfRange(atIndex, count));
    for (ArrayIndexT i = atIndex; i <= last; ++i) mItems[static_cast<size_t>(i - 1)] = item;
  }

  // Removes `count` items from `atIndex`; a count reaching past the end removes to the end.
  void RemoveItemsAt(ArrayIndexT count, ArrayIndexT atIndex) {
    if (count <= 0 || !ValidIndex(atIndex)) return;
    ArrayIndexT last = std::min<ArrayIndexT>(GetCount(), LastOfRange(atIndex, count));
    ArrayIndexT removed = last - atIndex + 1;
    mItems.erase(mItems.begin() + (atIndex - 1), mItems.begin() + last);
    for (TArrayIterator<T>* it : mIterators) it->ItemsRemoved(atIndex, removed);
  }

  void RemoveAllItems() { RemoveItemsAt(GetCount(), 1); }

  // The index of the first item equal to `item`, or index_Bad.
  ArrayIndexT FetchIndexOf(const T& item) const {
    auto found = std::find(mItems.begin(), mItems.end(), item);
    return found == mItems.end() ? index_Bad : static_cast<ArrayIndexT>(found - mItems.begin()) + 1;
  }

  // Removes the first item equal to `item`.
  void Remove(const T& item) { RemoveItemsAt(1, FetchIndexOf(item)); }

  // Unchecked 1-based access; the index must be valid.
  T& operator[](ArrayIndexT index) { return mItems[static_cast<size_t>(index - 1)]; }
  const T& operator[](ArrayIndexT index) const { return mItems[static_cast<size_t>(index - 1)]; }

 private:
  friend class TArrayIterator<T>;

  static ArrayIndexT LastOfRange(ArrayIndexT first, ArrayIndexT count) {
    return count > index_Last - first ? index_Last : first + count - 1;
  }
  ArrayIndexT ClampInsertIndex(ArrayIndexT index) const {
    if (index < 1) return 1;
    return index > GetCount() ? GetCount() + 1 : index;
  }
  template <class It>
  void InsertRange(ArrayIndexT at, It first, It last) {
    ArrayIndexT count = static_cast<ArrayIndexT>(last - first);
    mItems.insert(mItems.begin() + (at - 1), first, last);
    for (TArrayIterator<T>* it : mIterators) it->ItemsInserted(at, count);
  }

  std::vector<T> mItems;
  std::vector<TArrayIterator<T>*> mIterators;
};

// Walks a TArray forwards or backwards. The current position follows the item it stands
// on when items are inserted or removed; removing the current item makes Next() return the
// item after it. An iterator outliving its array simply ends.
template <class T>
class TArrayIterator {
 public:
  enum { from_Start = 0, from_End = -1 };

  explicit TArrayIterator(TArray<T>& array, ArrayIndexT position = from_Start) : mArray(&array) {
    mArray->mIterators.push_back(this);
    ResetTo(position);
  }
  ~TArrayIterator() {
    if (mArray) std::erase(mArray->mIterators, this);
  }
  TArrayIterator(const TArrayIterator&) = delete;
  TArrayIterator& operator=(const TArrayIterator&) = delete;

  // from_Start: Next() gives item 1; from_End: Previous() gives the last item; otherwise
  // Next() gives the item after `position`.
  void ResetTo(ArrayIndexT position) {
    mCurrentGone = false;
    if (position == from_End)
      mCurrent = mArray ? mArray->GetCount() + 1 : 0;
    else
      mCurrent = position;
  }

  bool Next(T& outItem) {
    mCurrentGone = false;
    if (!mArray || mCurrent >= mArray->GetCount()) return false;
    ++mCurrent;
    outItem = (*mArray)[mCurrent];
    return true;
  }
  bool Previous(T& outItem) {
    // After the current item went, the item before it already sits at mCurrent.
    if (!mCurrentGone) --mCurrent;
    mCurrentGone = false;
    if (!mArray) return false;
    if (mCurrent > mArray->GetCount()) mCurrent = mArray->GetCount();
    if (mCurrent < 1) {
      mCurrent = 0;
      return false;
    }
    outItem = (*mArray)[mCurrent];
    return true;
  }
  bool Current(T& outItem) const { return mArray && mArray->FetchItemAt(mCurrent, outItem); }
  ArrayIndexT GetCurrentIndex() const { return mCurrent; }

 private:
  friend class TArray<T>;

  void ItemsInserted(ArrayIndexT at, ArrayIndexT count) {
    if (at <= mCurrent) mCurrent += count;
  }
  void ItemsRemoved(ArrayIndexT at, ArrayIndexT count) {
    if (mCurrent >= at + count)
      mCurrent -= count;
    else if (mCurrent >= at) {
      mCurrent = at - 1;
      mCurrentGone = true;
    }
  }

  TArray<T>* mArray;
  ArrayIndexT mCurrent = 0;
  bool mCurrentGone = false;
};
