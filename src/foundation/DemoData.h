#pragma once
class TCompanyDM;

// A small, realistic factory for the delivered demo database: processes, control items, defects,
// tags, causes, actions, judge rules and a few months of subgroups with calm stretches and real
// out-of-control patterns. Deterministic: the same file every time. Keys come from the counters.
void WriteDemoContent(TCompanyDM& dm);
