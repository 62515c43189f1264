#pragma once
// Puts the report and export commands on the results page and in the menus of the main
// window, and the column menus on its two tables.

class ColumnMenus;
class ReportActions;
class TForm_Skenbrus;

// Called once while the window is built, after its menus and its results page exist. The
// two objects are children of the window (found by findChild as well).
void installReportCommands(TForm_Skenbrus& form);

ReportActions* reportActionsOf(TForm_Skenbrus& form);
ColumnMenus* columnMenusOf(TForm_Skenbrus& form);
