#include "screens/queries/sales_queries.h"

#include "screens/queries/query_pieces.h"

namespace zentrail {
namespace {

// The header and column queries differ only in how they find the GSTIN and state columns
// and in one blank before ORDER BY.
std::string InvoiceHeader(const std::string& fromDate, const std::string& toDate,
                          const std::string& gstinJoin, const std::string& stateJoin,
                          const char* statusTail) {
    std::string sql;
    sql +=
        "SELECT A.SalId, A.SalInvNo, A.SalInvDate, C.RtrName, A.SalNetAmt, A.SalPayAmt, "
        "A.OrderKeyNo, A.OrderDate,";
    sql +=
        "A.SalGrossAmount, A.RtrId, A.RtrShipId, A.SalRateDiffAmount, A.SalSplDiscAmount, "
        "A.SalSchDiscAmount,";
    sql +=
        "A.SalDBDiscAmount, A.SalCDAmount, A.SalTaxAmount, A.TotalAddition, A.TotalDeduction, "
        "A.SalActNetRateAmount,";
    sql +=
        "A.SalRoundOffAmt, A.DlvSts, A.SalDlvDate, A.InvType, D.RtrShipAdd1, D.RtrShipAdd2, "
        "D.RtrShipAdd3,";
    sql +=
        "D.GSTTinNo , E.StateName,M.CGST_TAXABLE, M.SGST_TAXABLE, M.IGST_TAXABLE, "
        "M.UTGST_TAXABLE,";
    sql +=
        "M.CGST_AMT, M.SGST_AMT, M.IGST_AMT, M.UTGST_AMT, F.ColumnValue AS GSTN, "
        "I.ColumnValue AS STat_Name, J.ColumnValue AS COMPOS, A.DBAdjAmount, A.CRAdjAmount, "
        "A.MarketRetAmount, A.WindowDisplay, A.WindowDisplayAmount ";
    sql += "FROM SalesInvoice A INNER JOIN Retailer C ON A.RtrId = C.RtrId ";
    sql += "INNER JOIN RetailerShipAdd D ON A.RtrShipId = D.RtrShipId ";
    sql += "INNER JOIN STATEMASTER E ON D.StateId = E.StateId ";
    sql += gstinJoin;
    sql += stateJoin;
    sql += CustomerUdcJoin("INNER JOIN", "J", "C.RTRID", "Composition");
    sql += "INNER JOIN (SELECT B.SalId, B.SalInvNo, ";
    sql += TaxPivotSums("A.TaxableAmount", "A.TaxAmount", kPairedTaxSumSpacing);
    sql += "FROM SalesInvoice B ";
    sql +=
        "INNER JOIN SalesInvoiceProductTax A ON B.SALID = A.SALID INNER JOIN TaxConfiguration "
        "C ON A.TaxId = C.TaxId ";
    sql += WhereDayInRange("B.SalInvDate", fromDate, toDate);
    sql += "AND B.DlvSts >= 3 GROUP BY B.SALID, B.SalInvNo ) M ON A.SALID = M.SALID ";
    sql += WhereDayInRange("A.SalInvDate", fromDate, toDate);
    sql += statusTail;
    sql += "ORDER BY A.SalInvNo ";
    return sql;
}

}  // namespace

std::string SalesInvoiceHeaderQuery(const std::string& fromDate, const std::string& toDate) {
    return InvoiceHeader(fromDate, toDate, CustomerUdcJoin("INNER JOIN", "F", "C.RTRID", "GSTIN"),
                         CustomerUdcJoin("INNER JOIN", "I", "C.RTRID", "State Name"),
                         "AND A.DlvSts >= 3  ");
}

std::string SalesInvoiceColumnQuery(const std::string& fromDate, const std::string& toDate) {
    return InvoiceHeader(fromDate, toDate, CustomerUdcJoinById("F", "81 "),
                         CustomerUdcJoinById("I", "77 "), "AND A.DlvSts >= 3 ");
}

std::string SalesInvoiceLineQuery(const std::string& fromDate, const std::string& toDate) {
    std::string sql;
    sql +=
        "SELECT A.SalId, A.SalInvNo,B.PrdId, D.PrdCCode, D.PrdName, "
        "B.BaseQty,B.PrdUnitSelRate,B.PrdSchDiscAmount, ";
    sql +=
        "B.PrdSplDiscAmount, B.PrdCDAmount, B.PrdDBDiscAmount, B.PrdTaxAmount, "
        "B.PrdNetAmount,B.PrdUnitMRP, B.PrdGrossAmount,";
    sql +=
        "F.UomDescription,(G.ColumnValue) AS HSNCODE, H.CGST_TAXABLE, "
        "H.SGST_TAXABLE,H.IGST_TAXABLE,H.UTGST_TAXABLE,";
    sql += "H.CGST_AMT , H.SGST_AMT, H.IGST_AMT, H.UTGST_AMT, H.TAXPERC ";
    sql +=
        "FROM SalesInvoice A INNER JOIN SalesInvoiceProduct B ON A.SalId = B.SalId INNER JOIN "
        "Product D ON B.PrdId = D.PrdId ";
    sql += "INNER JOIN UOMMASTER F ON B.Uom1Id = F.UomId ";
    sql += ProductHsnJoin("INNER JOIN");
    sql += "INNER JOIN (SELECT B.SalId,B.SalInvNo, A.PrdSlNo, A.TaxPerc, ";
    sql += TaxPivotSums("A.TaxableAmount", "A.TaxAmount", kPairedTaxSumSpacing);
    sql +=
        "FROM SalesInvoice B INNER JOIN SalesInvoiceProductTax A ON B.SALID = A.SALID INNER "
        "JOIN TaxConfiguration C ON A.TaxId = C.TaxId ";
    sql += WhereDayInRange("B.SalInvDate", fromDate, toDate);
    sql +=
        "AND B.DlvSts >= 3  GROUP BY B.SALID, B.SalInvNo,A.PrdSlNo, A.TaxPerc) H ON B.SALID = "
        "H.SALID AND B.SlNo = H.PRDSLNO ";
    sql += WhereDayInRange("A.SalInvDate", fromDate, toDate);
    sql += "AND A.DlvSts >= 3  ";
    sql += "ORDER BY A.SalInvNo,B.SlNo ";
    return sql;
}

std::string SalesFreeProductQuery(const std::string& fromDate, const std::string& toDate) {
    std::string sql;
    sql +=
        "SELECT A.SalId, A.SalInvNo,C.FreePrdId, D.PrdCCode, D.PrdName, "
        "C.FREEQty,F.UomDescription ";
    sql += "FROM SalesInvoice A ";
    sql += "INNER JOIN SalesInvoiceSchemeDtFreePrd C ON A.SalId = C.SalId ";
    sql += "INNER JOIN Product D ON C.FreePrdId = D.PrdId ";
    sql += "INNER JOIN UOMMASTER F ON D.PRDUNITID = F.UomId ";
    sql += " ";
    sql += WhereDayInRange("A.SalInvDate", fromDate, toDate);
    sql += "AND A.DlvSts >= 3 ORDER BY A.SalInvNo ";
    return sql;
}

std::string SalesPartyQuery(const std::string& fromDate, const std::string& toDate) {
    std::string sql;
    sql +=
        "SELECT DISTINCT C.RtrCode, C.RtrName,  A.RtrId, A.RtrShipId, D.RtrShipAdd1, "
        "D.RtrShipAdd2, D.RtrShipAdd3, D.RtrShipPinNo,";
    sql +=
        "C.RtrAdd1, C.RtrAdd2, C.RtrAdd3, C.RtrPinNo, C.RtrPhoneNo, C.RtrEmailId, "
        "C.RtrContactPerson, C.RtrRegDate,";
    sql +=
        "D.GSTTinNo , E.StateName, C.RtrTINNo, C.RtrCrLimit, C.RtrCrDays, C.RtrDrugLicNo, "
        "C.RtrDrugExpiryDate,";
    sql +=
        "F.ColumnValue AS GSTN, G.ColumnValue AS REG_UNREG, H.ColumnValue AS PAN_NUM, "
        "I.ColumnValue AS STat_Name, J.ColumnValue AS COMPOS ";
    sql += "From SalesInvoice A ";
    sql += "INNER JOIN Retailer C ON A.RtrId = C.RtrId ";
    sql += "INNER JOIN RetailerShipAdd D ON A.RtrShipId = D.RtrShipId ";
    sql += "INNER JOIN STATEMASTER E ON D.StateId = E.StateId ";
    sql += CustomerUdcJoin("INNER JOIN", "F", "C.RTRID", "GSTIN");
    sql += CustomerUdcJoin("LEFT JOIN", "G", "A.RTRID", "Retailer Type");
    sql += CustomerUdcJoin("LEFT JOIN", "H", "A.RTRID", "PAN Number");
    sql += CustomerUdcJoin("INNER JOIN", "I", "C.RTRID", "State Name");
    sql += CustomerUdcJoin("INNER JOIN", "J", "C.RTRID", "Composition");
    sql += WhereDayInRange("A.SalInvDate", fromDate, toDate);
    sql += "AND A.DlvSts >= 3 ";
    sql += "ORDER BY C.RtrName ";
    return sql;
}

}  // namespace zentrail
