#pragma once
// What each master-data window of a table is set up with (its browse and edit windows alike):
// the shared queries of the list data module, key fields, columns not written back, defaults,
// the checks before a save, and the rows that refer to a record or go with it.
class TListDataForm;
class TListMDDataForm;

void SetupProcessForm(TListDataForm& form);
void SetupVControlItemForm(TListDataForm& form);
void SetupCaseForm(TListDataForm& form);
void SetupActionForm(TListDataForm& form);
void SetupDefectPhenomenonForm(TListDataForm& form);
void SetupAControlItemForm(TListMDDataForm& form);
void SetupDefectItemForm(TListMDDataForm& form);
void SetupTagForm(TListMDDataForm& form);
void SetupTagTemplateForm(TListMDDataForm& form);
