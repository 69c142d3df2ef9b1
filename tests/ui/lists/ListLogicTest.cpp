// The portable logic of list boxes: column widths from the ColumnWidths text,
// selection runs under insertion and removal, and sorting rows with their
// descendants.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/StringValue.h"
#include "ui/lists/ListColumns.h"
#include "ui/lists/ListRows.h"
#include "ui/lists/SelectionRuns.h"

using namespace runtime;
using namespace runtime::lists;

namespace {

struct WidthCase {
    const char* widths;
    int32_t columns;
    int32_t listWidth;
    std::vector<int32_t> expected;
};

TEST(ListColumns, WidthsFromPixelsPercentagesAndDefaults) {
    const WidthCase cases[] = {
        {"50,30%", 3, 217, {50, 60, 90}},
        {"", 3, 317, {100, 100, 100}},
        {"", 1, 117, {100}},
        // An empty entry keeps the even share of what is left.
        {",50", 3, 317, {100, 50, 150}},
        // Negative entries are 0; each width is capped at what is left.
        {"-5,500", 3, 217, {0, 200, 0}},
        // A remainder goes to the last column.
        {"10,10", 2, 117, {10, 90}},
        {"100%,10", 2, 117, {100, 0}},
        // Text after the number is ignored; a bare "%" is 0 %.
        {"40px,%", 3, 217, {40, 0, 160}},
        // A list narrower than the scroll bar has no room at all.
        {"50", 2, 10, {0, 0}},
        // Out-of-range counts are clamped (0 -> 1).
        {"", 0, 117, {100}},
        {"99999999999999,5", 2, 117, {100, 0}},
    };
    for (const WidthCase& c : cases) {
        EXPECT_EQ(columnWidths(c.widths, c.columns, c.listWidth), c.expected)
            << '"' << c.widths << "\" " << c.columns << " columns at " << c.listWidth;
    }
}

TEST(ListColumns, ColumnCountIsClampedToOneTo63) {
    EXPECT_EQ(clampedColumnCount(0), 1);
    EXPECT_EQ(clampedColumnCount(-7), 1);
    EXPECT_EQ(clampedColumnCount(100), 63);
    EXPECT_EQ(clampedColumnCount(63), 63);
    EXPECT_EQ(columnWidths("", 100, 1000).size(), 63u);
    EXPECT_TRUE(validColumn(63));
    EXPECT_FALSE(validColumn(64));
    EXPECT_FALSE(validColumn(-1));
}

std::vector<SelectionRun> runsOf(std::initializer_list<SelectionRun> runs) { return runs; }

TEST(SelectionRuns, SettingAndClearingRowsSplitsAndMergesRuns) {
    SelectionRuns s;
    s.set(2, true);
    s.set(4, true);
    EXPECT_EQ(s.runs(), runsOf({{2, 1}, {4, 1}}));
    s.set(3, true);
    EXPECT_EQ(s.runs(), runsOf({{2, 3}}));
    s.set(3, false);
    EXPECT_EQ(s.runs(), runsOf({{2, 1}, {4, 1}}));
    EXPECT_EQ(s.count(), 2);
    EXPECT_EQ(s.lowest(), 2);
    EXPECT_EQ(s.highest(), 4);
    s.set(-1, true);
    EXPECT_EQ(s.count(), 2) << "a negative row is never selected";
    s.addRange(7, 5);
    EXPECT_EQ(s.runs(), runsOf({{2, 1}, {4, 4}}));
}

TEST(SelectionRuns, InsertionShiftsAndSplitsRuns) {
    SelectionRuns s;
    s.addRange(2, 5);
    s.set(9, true);
    s.rowsInserted(4, 2);  // inside the first run
    EXPECT_EQ(s.runs(), runsOf({{2, 2}, {6, 2}, {11, 1}}));
    EXPECT_FALSE(s.isSelected(4));
    EXPECT_FALSE(s.isSelected(5));
    s.rowsInserted(0, 1);
    EXPECT_EQ(s.runs(), runsOf({{3, 2}, {7, 2}, {12, 1}}));
    s.rowsInserted(20, 1);
    EXPECT_EQ(s.runs(), runsOf({{3, 2}, {7, 2}, {12, 1}}));
}

TEST(SelectionRuns, RemovalShrinksRunsAndReportsSelectedRows) {
    SelectionRuns s;
    s.addRange(2, 4);
    s.set(8, true);
    EXPECT_FALSE(s.rowsRemoved(0, 1));
    EXPECT_EQ(s.runs(), runsOf({{1, 3}, {7, 1}}));
    EXPECT_TRUE(s.rowsRemoved(2, 1));
    EXPECT_EQ(s.runs(), runsOf({{1, 2}, {6, 1}}));
    EXPECT_FALSE(s.rowsRemoved(4, 1));
    EXPECT_EQ(s.runs(), runsOf({{1, 2}, {5, 1}}));
    // The rows between two runs go: the runs become one.
    EXPECT_FALSE(s.rowsRemoved(3, 2));
    EXPECT_EQ(s.runs(), runsOf({{1, 3}}));
    EXPECT_TRUE(s.rowsRemoved(0, 10));
    EXPECT_TRUE(s.empty());
    EXPECT_EQ(s.lowest(), -1);
}

TEST(SelectionRuns, ReorderingFollowsTheRows) {
    SelectionRuns s;
    s.set(0, true);
    s.set(3, true);
    s.rowsReordered({3, 2, 1, 0});
    EXPECT_EQ(s.runs(), runsOf({{0, 1}, {3, 1}}));
    s.rowsReordered({1, 0, 3, 2});
    EXPECT_EQ(s.runs(), runsOf({{1, 2}})) << "two selected rows that meet form one run";
}

StringValue text(const char* s) { return StringValue::fromCString(s); }

int32_t byteCompare(const StringValue& a, const StringValue& b) { return a.view().compare(b.view()); }

std::vector<std::string> column(const ListRows& rows, int32_t c) {
    std::vector<std::string> out;
    for (int32_t r = 0; r < rows.count(); ++r) out.emplace_back(rows.text(r, c).view());
    return out;
}

TEST(ListRows, InsertClampsAndCellsKeepTheirFirstSetOrder) {
    ListRows rows;
    EXPECT_EQ(rows.insert(5, text("b"), 0, false), 0);
    EXPECT_EQ(rows.insert(-3, text("a"), 0, false), 0);
    EXPECT_EQ(rows.insert(2, text("c"), 0, false), 2);
    EXPECT_EQ(column(rows, 0), (std::vector<std::string>{"a", "b", "c"}));
    rows[1].cell(3).text = text("x");
    rows[1].cell(1).text = text("y");
    rows[1].cell(3).text = text("z");
    ASSERT_EQ(rows[1].cells.size(), 3u);
    EXPECT_EQ(rows[1].cells[1].column, 3);
    EXPECT_EQ(rows[1].cells[2].column, 1);
    EXPECT_EQ(rows.text(1, 3).view(), "z");
    EXPECT_TRUE(rows.text(1, 2).empty());
    EXPECT_TRUE(rows.text(9, 0).empty());
    rows.remove(0);
    EXPECT_EQ(column(rows, 0), (std::vector<std::string>{"b", "c"}));
}

TEST(ListRows, SortMovesTopLevelRowsWithTheirDescendants) {
    ListRows rows;
    rows.insert(0, text("pear"), 0, true);
    rows.insert(1, text("p-child2"), 1, false);
    rows.insert(2, text("p-child1"), 1, false);
    rows.insert(3, text("apple"), 0, false);
    rows.insert(4, text("fig"), 0, true);
    rows.insert(5, text("f-child"), 1, false);
    rows[3].cell(1).text = text("1");
    const std::vector<int32_t> order = rows.sortByColumn(0, byteCompare);
    EXPECT_EQ(column(rows, 0), (std::vector<std::string>{"apple", "fig", "f-child", "pear", "p-child2", "p-child1"}));
    EXPECT_EQ(order, (std::vector<int32_t>{3, 4, 5, 0, 1, 2}));
    EXPECT_EQ(rows.text(0, 1).view(), "1") << "cells move with their row";
    EXPECT_EQ(rows.lastDescendant(3), 5);
    EXPECT_EQ(rows.lastDescendant(0), 0);
    // By a column most rows lack: empty texts first, the order among equals kept.
    rows.sortByColumn(1, byteCompare);
    EXPECT_EQ(column(rows, 0), (std::vector<std::string>{"fig", "f-child", "pear", "p-child2", "p-child1", "apple"}));
}

}  // namespace
