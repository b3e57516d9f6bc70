#include "screens/queries/item_queries.h"

#include "screens/queries/query_pieces.h"

namespace zentrail {
namespace {

std::string ItemList(const char* beforeOrder) {
    std::string sql =
        "SELECT DISTINCT E.PrdId, E.PrdCCode, E.PrdName, (G.ColumnValue) AS HSNCODE, E.PrdDCode "
        "FROM Product E INNER JOIN UDCDETAILS G ON E.PRDID = G.MasterRecordId AND ";
    sql += kHsnCodeUdcCondition;
    sql += beforeOrder;
    sql += "ORDER BY E.PrdCCode";
    return sql;
}

// The sales rate query; the zero-rate query is the same text with another condition and
// cut-off date.
std::string SalesRates(const char* condition, const char* cutOff) {
    std::string sql =
        "SELECT DISTINCT E.PrdId, E.PrdCCode, E.PrdName, (G.ColumnValue) AS HSNCODE,C.TaxPerc , "
        "E.PrdDCode FROM SalesInvoice A INNER JOIN SalesInvoiceProduct B ON A.SalId = B.SalId "
        "INNER JOIN SalesInvoiceProductTax C on A.SalId = C.SalId AND B.SlNo = C.PrdSlNo INNER "
        "JOIN Product E ON B.PrdId = E.PrdId INNER JOIN UOMMASTER F ON B.Uom1Id = F.UomId LEFT "
        "JOIN UDCDETAILS G ON E.PRDID = G.MasterRecordId AND ";
    sql += kHsnCodeUdcCondition;
    sql += " ";
    sql += condition;
    sql += " ";
    sql += DayOnOrAfter("a.SalInvDate", cutOff);
    sql += " order by E.PrdCCode, C.TaxPerc desc  ";
    return sql;
}

}  // namespace

std::string ItemListQuery() { return ItemList("  "); }

std::string ItemColumnQuery() { return ItemList(" "); }

std::string ItemWithoutHsnQuery() {
    // The complement of the list query's inner join.
    std::string sql =
        "SELECT E.PrdId, E.PrdCCode, E.PrdName FROM Product E WHERE NOT EXISTS (SELECT 1 FROM "
        "UDCDETAILS G WHERE E.PRDID = G.MasterRecordId AND ";
    sql += kHsnCodeUdcCondition;
    sql += ") ORDER BY E.PrdCCode";
    return sql;
}

std::string ItemUnitQuery() {
    return "SELECT UomDescription FROM UOMMASTER ORDER BY UomDescription ";
}

std::string ItemSalesRateQuery() {
    return SalesRates("WHERE A.DlvSts >= 3 and C.TaxPerc > 0 and", "07/01/2017");
}

std::string ItemReturnRateQuery() {
    std::string sql =
        "SELECT DISTINCT E.PrdId, E.PrdCCode, E.PrdName, C.TaxPerc , E.PrdDCode FROM "
        "ReturnHeader A INNER JOIN ReturnProduct B ON A.ReturnID = B.ReturnID  INNER JOIN "
        "ReturnProductTax C on A.ReturnID = C.ReturnID AND B.SlNo = C.PrdSlNo  INNER JOIN "
        "Product E ON B.PrdId = E.PrdId  WHERE A.[Status] = 0 AND C.TaxPerc > 0 and ";
    sql += DayOnOrAfter("A.ReturnDate", "07/01/2017");
    sql += " order by E.PrdCCode, C.TaxPerc desc    ";
    return sql;
}

std::string ItemZeroRateSalesQuery() {
    return SalesRates("WHERE A.DlvSts >= 3 and c.TaxableAmount > 0 and C.TaxPerc = 0 and",
                      "07/27/2018");
}

}  // namespace zentrail
