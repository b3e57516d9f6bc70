#include "shell/tsql_translation.h"

#include <gtest/gtest.h>

namespace zentrail {
namespace {

struct Case {
    const char* sql;
    const char* sqlite;
};

TEST(TranslateDayComparisons, EveryFormTheScreensWrite) {
    const Case cases[] = {
        // Lower bound with two blanks before the operator, upper bound with one.
        {"WHERE CONVERT(DATETIME,CONVERT(VARCHAR(10),B.SalInvDate,101))  >= '01/30/2024' ",
         "WHERE date(B.SalInvDate) >= '2024-01-30' "},
        {"AND CONVERT(DATETIME,CONVERT(VARCHAR(10),A.SalInvDate,101)) <= '01/31/2024' ",
         "AND date(A.SalInvDate) <= '2024-01-31' "},
        // Both bounds in one piece, as the return, receipt and service queries join them.
        {"WHERE CONVERT(DATETIME,CONVERT(VARCHAR(10),B.ReturnDate,101))  >= '12/01/2023' AND "
         "CONVERT(DATETIME,CONVERT(VARCHAR(10),B.ReturnDate,101)) <= '12/31/2023' ",
         "WHERE date(B.ReturnDate) >= '2023-12-01' AND date(B.ReturnDate) <= '2023-12-31' "},
        // The item screen's fixed start of GST, lower-case alias, followed by more SQL.
        {"WHERE A.DlvSts >= 3 and C.TaxPerc > 0 and "
         "CONVERT(DATETIME,CONVERT(VARCHAR(10),a.SalInvDate,101))  >= '07/01/2017' order by "
         "E.PrdCCode, C.TaxPerc desc  ",
         "WHERE A.DlvSts >= 3 and C.TaxPerc > 0 and date(a.SalInvDate) >= '2017-07-01' order by "
         "E.PrdCCode, C.TaxPerc desc  "},
        {"WHERE CONVERT(DATETIME,CONVERT(VARCHAR(10),A.SERVICEINVDATE,101))  >= '02/29/2024' ",
         "WHERE date(A.SERVICEINVDATE) >= '2024-02-29' "},
        {"CONVERT(DATETIME,CONVERT(VARCHAR(10),A.IDTMngDate,101)) <= '11/15/2017'",
         "date(A.IDTMngDate) <= '2017-11-15'"},
        // Any case and blanks between the tokens; one-digit month and day.
        {"convert ( datetime , Convert(varchar ( 10 ),\n\tA.InvDate , 101 ) )>='1/5/2024'",
         "date(A.InvDate) >= '2024-01-05'"},
        // The workstation's date separator may be a dash or a dot.
        {"CONVERT(DATETIME,CONVERT(VARCHAR(10),A.CrNoteDate,101)) >= '03-04-2024'",
         "date(A.CrNoteDate) >= '2024-03-04'"},
        {"CONVERT(DATETIME,CONVERT(VARCHAR(10),A.CrNoteDate,101)) >= '03.04.2024'",
         "date(A.CrNoteDate) >= '2024-03-04'"},
        // Bracketed names and the other comparison operators.
        {"CONVERT(DATETIME,CONVERT(VARCHAR(10),[A].[Inv Date],101)) = '06/30/2024'",
         "date([A].[Inv Date]) = '2024-06-30'"},
        {"CONVERT(DATETIME,CONVERT(VARCHAR(10),InvRcpDate,101)) < '06/30/2024'",
         "date(InvRcpDate) < '2024-06-30'"},
        {"CONVERT(DATETIME,CONVERT(VARCHAR(10),InvRcpDate,101)) > '06/30/2024'",
         "date(InvRcpDate) > '2024-06-30'"},
        {"CONVERT(DATETIME,CONVERT(VARCHAR(10),InvRcpDate,101)) <> '06/30/2024'",
         "date(InvRcpDate) <> '2024-06-30'"},
    };
    for (const Case& c : cases) EXPECT_EQ(TranslateDayComparisons(c.sql), c.sqlite) << c.sql;
}

TEST(TranslateDayComparisons, LeavesEverythingElseAsWritten) {
    const char* unchanged[] = {
        // Inside a string literal.
        "SELECT 'CONVERT(DATETIME,CONVERT(VARCHAR(10),A.X,101)) >= ''01/01/2024''' AS T",
        // Impossible dates: month 13, 30 February, day before month in a three-digit group.
        "CONVERT(DATETIME,CONVERT(VARCHAR(10),A.X,101)) >= '13/01/2024'",
        "CONVERT(DATETIME,CONVERT(VARCHAR(10),A.X,101)) >= '02/30/2023'",
        "CONVERT(DATETIME,CONVERT(VARCHAR(10),A.X,101)) >= '001/01/2024'",
        "CONVERT(DATETIME,CONVERT(VARCHAR(10),A.X,101)) >= '01/01/24'",
        "CONVERT(DATETIME,CONVERT(VARCHAR(10),A.X,101)) >= '01/31-2024'",
        // Another style, length or target type.
        "CONVERT(DATETIME,CONVERT(VARCHAR(10),A.X,103)) >= '01/01/2024'",
        "CONVERT(DATETIME,CONVERT(VARCHAR(11),A.X,101)) >= '01/01/2024'",
        "CONVERT(SMALLDATETIME,CONVERT(VARCHAR(10),A.X,101)) >= '01/01/2024'",
        // Part of a longer name, or compared with something else than a literal.
        "XCONVERT(DATETIME,CONVERT(VARCHAR(10),A.X,101)) >= '01/01/2024'",
        "CONVERT(DATETIME,CONVERT(VARCHAR(10),A.X,101)) >= B.Y",
        "CONVERT(DATETIME,CONVERT(VARCHAR(10),A.X,101))",
        "CONVERT(VARCHAR(10),A.X,101)",
        "SELECT A.SalId FROM SalesInvoice A WHERE A.RtrName = 'O''Brien' ",
        // Inside a bracketed name, "]]" standing for "]".
        "SELECT 1 AS [CONVERT(DATETIME,CONVERT(VARCHAR(10),A.X,101)) >= '01/01/2024']",
        "SELECT 1 AS [a]]CONVERT(DATETIME,CONVERT(VARCHAR(10),A.X,101)) >= '01/01/2024']",
        "",
    };
    for (const char* sql : unchanged) EXPECT_EQ(TranslateDayComparisons(sql), sql) << sql;
}

// Found by the fuzz target: a bracketed column that swallowed a whole idiom was translated,
// and translating the output again found the idiom inside it. Output is stable now.
TEST(TranslateDayComparisons, BracketedNamesAreOpaqueAndTheOutputIsStable) {
    const std::string sql =
        "CONVERT(DATETIME,CONVERT(VARCHAR(10),[a]]b ' x],101)) >= '04/01/2024' AND "
        "CONVERT(DATETIME,CONVERT(VARCHAR(10),[p CONVERT(DATETIME,CONVERT(VARCHAR(10),A.X,101)) "
        ">= '04/01/2024' q].Y,101)) <= '05/31/2024'";
    const std::string translated = TranslateDayComparisons(sql);
    EXPECT_EQ(translated,
              "date([a]]b ' x]) >= '2024-04-01' AND date([p CONVERT(DATETIME,CONVERT(VARCHAR(10),"
              "A.X,101)) >= '04/01/2024' q].Y) <= '2024-05-31'");
    EXPECT_EQ(TranslateDayComparisons(translated), translated);
}

}  // namespace
}  // namespace zentrail
