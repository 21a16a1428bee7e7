#pragma once
// Turns rows of a rights query (integer columns ModID and PData, ordered by ModID) into module
// powers, and writes changed powers back into those rows.
class TDataSet;
class TWBAppPower;

class TWBAppPowerProvider {
public:
    // The data set is not owned and must be open when loading or saving.
    explicit TWBAppPowerProvider(TDataSet& dataSet) : FDataSet(&dataSet) {}
    virtual ~TWBAppPowerProvider() = default;

    TDataSet& DataSet() const { return *FDataSet; }
    void SetDataSet(TDataSet& dataSet) { FDataSet = &dataSet; }

    // Hooks for descendants, called first by Load and by Save; empty here.
    virtual void BeforeLoad() {}
    virtual void BeforeSave() {}
    // Appends one module power per row. Setting the keys needs the read-only flag clear.
    virtual void Load(TWBAppPower& list);
    // Row i takes the power of item i when its ModID is the item's module and its PData differs;
    // the rows are edited as cached changes, written later with the query's other changes.
    virtual void Save(const TWBAppPower& list);

private:
    TDataSet* FDataSet;
};
