#include "screens/queries/idt_queries.h"

#include "screens/queries/query_pieces.h"

namespace zentrail {
namespace {

// The transfer line pivot puts ", " after every sum but the last.
constexpr TaxSumSpacing kLineTaxSumSpacing = {", ", ", ", ", ", ", ", ", ", ", ", ", ", " "};

}  // namespace

std::string IdtHeaderQuery(const std::string& fromDate, const std::string& toDate) {
    std::string sql;
    sql +=
        "SELECT A.IDTMngRefNo, A.DocRefNo, A.StkMgmtTypeId, A.IDTMngDate, B.SpmName, "
        "A.IDTGrossAmt, A.IDTTaxAmt,A.IDTNetAmt,";
    sql +=
        "A.IDTPaidAmt, A.FromSpmId, A.ToSpmId, A.LRNo, A.LRDate, B.SpmAdd1, B.SpmAdd2, "
        "B.SpmAdd3,B.SpmPhone,";
    sql += "B.SpmFax, B.SpmEmail, B.SpmContact ";
    sql += "FROM IDTManagement A ";
    sql += "INNER JOIN IDTMaster B ON A.SpmId = B.SpmId ";
    sql += WhereDayInRange("A.IDTMngDate", fromDate, toDate);
    sql += "AND A.Status = 1 ";
    sql += "ORDER BY A.IDTMngRefNo ";
    return sql;
}

std::string IdtDepotQuery(const std::string& fromDate, const std::string& toDate) {
    std::string sql;
    sql +=
        "SELECT DISTINCT A.SpmId, A.StkMgmtTypeId,B.SpmName, B.SpmAdd1, B.SpmAdd2, B.SpmAdd3, "
        "B.SpmPhone, B.SpmFax, ";
    sql += "B.SpmEmail, B.SpmContact ";
    sql += "FROM IDTManagement A ";
    sql += "INNER JOIN IDTMaster B ON A.SpmId = B.SpmId ";
    sql += WhereDayInRange("A.IDTMngDate", fromDate, toDate);
    sql += "ORDER BY B.SpmName ";
    return sql;
}

std::string IdtLineQuery(const std::string& fromDate, const std::string& toDate) {
    std::string sql;
    sql +=
        "SELECT A.IDTMngRefNo,B.PrdSlNo,B.PrdId, D.PrdCCode, D.PrdName, B.Qty, "
        "B.PrdUnitRate,B.PrdTaxAmount, B.PrdNetAmount,  ";
    sql +=
        "B.PrdMRPRate, B.PrdGrossAmount, H.CGST_TAXABLE, H.SGST_TAXABLE, H.IGST_TAXABLE, "
        "H.UTGST_TAXABLE, H.CGST_AMT, ";
    sql += "H.SGST_AMT,H.IGST_AMT, H.UTGST_AMT ,F.UomDescription, (G.ColumnValue) AS HSNCODE ";
    sql += "FROM IDTManagement A  ";
    sql += "INNER JOIN IDTManagementProduct B ON A.IDTMngRefNo = B.IDTMngRefNo  ";
    sql += "INNER JOIN Product D ON B.PrdId = D.PrdId ";
    sql += "INNER JOIN UOMMASTER F ON D.PrdUnitId = F.UomId ";
    sql += ProductHsnJoin("INNER JOIN");
    sql += "LEFT JOIN (SELECT B.IDTMngRefNo, A.PrdSlNo,";
    sql += TaxPivotSums("A.TaxableAmount", "A.TaxAmount", kLineTaxSumSpacing);
    sql +=
        "FROM IDTManagement B INNER JOIN IDTManagementProductTax A ON B.IDTMngRefNo = "
        "A.IDTMngRefNo ";
    sql += "INNER JOIN TaxConfiguration C ON A.TaxId = C.TaxId ";
    sql += " ";
    sql += WhereDayInRange("B.IDTMngDate", fromDate, toDate);
    sql +=
        "AND B.Status = 1 GROUP BY B.IDTMngRefNo, A.PrdSlNo) H ON B.IDTMngRefNo = "
        "H.IDTMngRefNo AND B.PrdSlNo = H.PRDSLNO  ";
    sql += WhereDayInRange("A.IDTMngDate", fromDate, toDate);
    sql += "AND A.Status = 1 ORDER BY A.IDTMngRefNo,B.PrdSlNo  ";
    sql += " ";
    return sql;
}

}  // namespace zentrail
