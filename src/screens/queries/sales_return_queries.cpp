#include "screens/queries/sales_return_queries.h"

#include "screens/queries/query_pieces.h"

namespace zentrail {
namespace {

// The list's pivot: no blank after CGST_TAXABLE, two after IGST_TAXABLE, one after the others.
constexpr TaxSumSpacing kListTaxSumSpacing = {",", ", ", ",  ", ", ", ", ", ", ", ", ", " "};

struct ReturnListVariant {
    const char* fieldTail;
    std::string gstinJoin;
    std::string stateJoin;
    const char* statusTail;
};

std::string ReturnList(const std::string& fromDate, const std::string& toDate,
                       const ReturnListVariant& variant) {
    std::string sql;
    sql +=
        "SELECT A.ReturnID, A.ReturnCode, D.SalInvNo, A.ReturnDate, C.RtrName, A.RtnNetAmt,  "
        "A.RtnGrossAmt, A.RtrId, ";
    sql +=
        "A.RtnSplDisAmt, A.RtnSchDisAmt,A.RtnDBDisAmt, A.RtnTaxAmt,  A.RtnRoundOffAmt, "
        "A.[Status] ,";
    sql += "A.InvoiceType, C.RtrAdd1, C.RtrAdd2, C.RtrAdd3,M.CGST_TAXABLE, M.SGST_TAXABLE,";
    sql +=
        "M.IGST_TAXABLE, M.UTGST_TAXABLE,M.CGST_AMT, M.SGST_AMT, M.IGST_AMT, M.UTGST_AMT, "
        "F.ColumnValue AS GSTN,";
    sql += variant.fieldTail;
    sql += "FROM ReturnHeader A ";
    sql += "INNER JOIN Retailer C ON A.RtrId = C.RtrId ";
    sql += "LEFT JOIN SalesInvoice D ON A.SalId = D.SalId ";
    sql += variant.gstinJoin;
    sql += variant.stateJoin;
    sql += CustomerUdcJoin("INNER JOIN", "J", "C.RTRID", "Composition");
    sql += "INNER JOIN (SELECT B.ReturnID, B.ReturnCode, ";
    sql += TaxPivotSums("A.TaxableAmt", "A.TaxAmt", kListTaxSumSpacing);
    sql += "FROM ReturnHeader B  ";
    sql +=
        "INNER JOIN ReturnProductTax A ON B.ReturnID = A.ReturnID INNER JOIN TaxConfiguration "
        "C ON A.TaxId = C.TaxId ";
    sql += WhereDayInRange("B.ReturnDate", fromDate, toDate);
    sql += "AND B.[Status] = 0 GROUP BY B.ReturnID, B.ReturnCode ) M ON A.ReturnID = M.ReturnID ";
    sql += WhereDayInRange("A.ReturnDate", fromDate, toDate);
    sql += variant.statusTail;
    return sql;
}

}  // namespace

std::string SalesReturnListQuery(const std::string& fromDate, const std::string& toDate) {
    return ReturnList(fromDate, toDate,
                      {"I.ColumnValue AS STat_Name, J.ColumnValue AS COMPOS, D.SalInvDate  ",
                       CustomerUdcJoin("INNER JOIN", "F", "C.RTRID", "GSTIN"),
                       CustomerUdcJoin("INNER JOIN", "I", "C.RTRID", "State Name"),
                       "AND A.[Status] = 0  ORDER BY A.ReturnCode  "});
}

std::string SalesReturnColumnQuery(const std::string& fromDate, const std::string& toDate) {
    return ReturnList(fromDate, toDate,
                      {"I.ColumnValue AS STat_Name, J.ColumnValue AS COMPOS, D.SalInvDate ",
                       CustomerUdcJoinById("F", "81 "), CustomerUdcJoinById("I", "77  "),
                       "AND A.[Status] = 0 ORDER BY A.ReturnCode  "});
}

std::string SalesReturnLineQuery(const std::string& fromDate, const std::string& toDate) {
    std::string sql;
    sql +=
        "SELECT A.ReturnID, A.ReturnCode,B.PrdId, D.PrdCCode, D.PrdName, "
        "B.BaseQty,B.PrdUnitSelRte,B.PrdSchDisAmt, ";
    sql += "B.PrdSplDisAmt, B.PrdCDDisAmt, B.PrdTaxAmt, B.PrdNetAmt,B.PrdUnitMRP, B.PrdGrossAmt,";
    sql +=
        "F.UomDescription,(G.ColumnValue) AS HSNCODE, H.CGST_TAXABLE, "
        "H.SGST_TAXABLE,H.IGST_TAXABLE,H.UTGST_TAXABLE,";
    sql += "H.CGST_AMT , H.SGST_AMT, H.IGST_AMT, H.UTGST_AMT, H.TAXPERC ";
    sql +=
        "FROM ReturnHeader A INNER JOIN ReturnProduct B ON A.ReturnID = B.ReturnID INNER JOIN "
        "Product D ON B.PrdId = D.PrdId ";
    sql += "INNER JOIN UOMMASTER F ON D.PrdUnitId = F.UomId ";
    sql += ProductHsnJoin("LEFT JOIN");
    sql += "INNER JOIN (SELECT B.ReturnID,B.ReturnCode, A.PrdSlNo, A.TaxPerc, ";
    sql += TaxPivotSums("A.TaxableAmt", "A.TaxAmt", kPairedTaxSumSpacing);
    sql +=
        "FROM ReturnHeader B INNER JOIN ReturnProductTax A ON B.ReturnID = A.ReturnID INNER "
        "JOIN TaxConfiguration C ON A.TaxId = C.TaxId ";
    sql += WhereDayInRange("B.ReturnDate", fromDate, toDate);
    sql +=
        "AND B.[Status] = 0 AND A.TaxableAmt > 0 GROUP BY B.ReturnID, "
        "B.ReturnCode,A.PrdSlNo,A.TaxPerc) H ON B.ReturnID = H.ReturnID AND B.SlNo = "
        "H.PRDSLNO ";
    sql += WhereDayInRange("A.ReturnDate", fromDate, toDate);
    sql += "AND A.[Status] = 0  ";
    sql += "ORDER BY A.ReturnCode,B.SlNo ";
    return sql;
}

std::string SalesReturnPartyQuery(const std::string& fromDate, const std::string& toDate) {
    std::string sql;
    sql +=
        "SELECT DISTINCT C.RtrCode, C.RtrName, A.RtrId, C.RtrAdd1, C.RtrAdd2, C.RtrAdd3, "
        "C.RtrPinNo, C.RtrPhoneNo,";
    sql +=
        "C.RtrEmailId, C.RtrContactPerson, C.RtrRegDate, C.RtrTINNo, C.RtrCrLimit, "
        "C.RtrCrDays, C.RtrDrugLicNo, C.RtrDrugExpiryDate,";
    sql +=
        "F.ColumnValue AS GSTN, G.ColumnValue AS REG_UNREG, H.ColumnValue AS PAN_NUM, "
        "I.ColumnValue AS STat_Name, J.ColumnValue AS COMPOS ";
    sql += "From ReturnHeader A ";
    sql += "INNER JOIN Retailer C ON A.RtrId = C.RtrId ";
    sql += CustomerUdcJoin("INNER JOIN", "F", "C.RTRID", "GSTIN");
    sql += CustomerUdcJoin("LEFT JOIN", "G", "A.RTRID", "Retailer Type");
    sql += CustomerUdcJoin("LEFT JOIN", "H", "A.RTRID", "PAN Number");
    sql += CustomerUdcJoin("LEFT JOIN", "I", "C.RTRID", "State Name");
    sql += CustomerUdcJoin("LEFT JOIN", "J", "C.RTRID", "Composition");
    sql += WhereDayInRange("A.ReturnDate", fromDate, toDate);
    sql += "AND A.[Status] = 0 ";
    sql += "ORDER BY C.RtrName ";
    return sql;
}

}  // namespace zentrail
