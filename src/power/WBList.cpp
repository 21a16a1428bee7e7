#include "power/WBList.h"

#include "foundation/Errors.h"

bool TWBIterator::Matches(const TWBIteratorKey&) const
{
    return false;
}

int IntKeyValue(const TWBIteratorKey& key)
{
    const auto* intKey = dynamic_cast<const TWBIteratorIntKey*>(&key);
    if (!intKey) RaiseError(QStringLiteral("Key的类型错误！"));
    return intKey->Value;
}

bool TWBIterator_KeyInt::Matches(const TWBIteratorKey& key) const
{
    return GetKey() == IntKeyValue(key);
}

TWBList::~TWBList()
{
    // BeforeDestroy of a derived list has run in its own destructor; here only the items go.
    Clear();
}

int TWBList::IndexOf(const TWBIteratorKey& key) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i]->Matches(key)) return static_cast<int>(i);
    return -1;
}

TWBIterator* TWBList::Find(const TWBIteratorKey& key) const
{
    const int i = IndexOf(key);
    return i < 0 ? nullptr : FItems[static_cast<size_t>(i)].get();
}

int TWBList::IndexOfInt(int key) const
{
    return IndexOf(TWBIteratorIntKey(key));
}

TWBIterator* TWBList::FindInt(int key) const
{
    return Find(TWBIteratorIntKey(key));
}

int TWBList::Add(std::unique_ptr<TWBIterator> item)
{
    FItems.push_back(std::move(item));
    return Count() - 1;
}

void TWBList::Delete(int index)
{
    FItems.erase(FItems.begin() + index);
}

void TWBList::Clear()
{
    while (!FItems.empty()) FItems.pop_back();
}
