#pragma once
// Keyed lists: items that answer whether they match a key, and an owning list that finds them.
#include <QString>
#include <memory>
#include <vector>

class TWBIteratorKey {
public:
    virtual ~TWBIteratorKey() = default;
    virtual QString AsText() const { return {}; }
};

class TWBIteratorIntKey : public TWBIteratorKey {
public:
    explicit TWBIteratorIntKey(int value = 0) : Value(value) {}
    QString AsText() const override { return QString::number(Value); }
    int Value;
};

class TWBIterator {
public:
    virtual ~TWBIterator() = default;
    virtual bool Matches(const TWBIteratorKey& key) const;
};

// An item keyed by an integer; a key of another class is an error ("Key的类型错误！").
class TWBIterator_KeyInt : public TWBIterator {
public:
    bool Matches(const TWBIteratorKey& key) const override;
    virtual int GetKey() const = 0;
    virtual void SetKey(int key) = 0;
};

// Raises the ordinary error of a key of the wrong class; returns the integer key otherwise.
int IntKeyValue(const TWBIteratorKey& key);

// Owns its items. A list is an iterator itself, so it can be an item of another list.
class TWBList : public TWBIterator {
public:
    TWBList() = default;
    ~TWBList() override;
    TWBList(const TWBList&) = delete;
    TWBList& operator=(const TWBList&) = delete;

    virtual int IndexOf(const TWBIteratorKey& key) const;
    virtual TWBIterator* Find(const TWBIteratorKey& key) const;
    // Finds by an integer key through the list's own key object.
    int IndexOfInt(int key) const;
    TWBIterator* FindInt(int key) const;

    int Add(std::unique_ptr<TWBIterator> item);
    void Delete(int index);
    void Clear();
    int Count() const { return static_cast<int>(FItems.size()); }
    TWBIterator* Items(int index) const { return FItems.at(static_cast<size_t>(index)).get(); }

protected:
    virtual void BeforeDestroy() {}

private:
    std::vector<std::unique_ptr<TWBIterator>> FItems;
};
