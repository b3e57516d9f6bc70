#include "screens/queries/purchase_queries.h"

#include "screens/queries/query_pieces.h"

namespace zentrail {
namespace {

constexpr const char* kSupplierGstinJoin =
    "INNER JOIN UDCDETAILS G ON (A.SpmId = G.MasterRecordId AND G.UdcMasterId =(select "
    "UdcMasterId from UdcMaster where MasterId=(select MasterId from UdcHD where "
    "MasterName='Supplier Master') and ColumnName='GSTIN'))  ";
constexpr const char* kSupplierStateJoin =
    "INNER JOIN UDCDETAILS H ON (A.SpmId = H.MasterRecordId AND H.UdcMasterId =(select "
    "UdcMasterId from UdcMaster where MasterId=(select MasterId from UdcHD where "
    "MasterName='Supplier Master') and ColumnName='State Name')) ";

std::string ReceiptHeader(const std::string& fromDate, const std::string& toDate,
                          const char* gstinJoin, const char* stateJoin) {
    std::string sql;
    sql +=
        "SELECT A.PurRcptId, A.PurRcptRefNo, A.GoodsRcvdDate, B.SpmName, A.GrossAmount, "
        "A.TaxAmount,";
    sql +=
        "A.NetAmount, A.NetPayable, A.PurOrderRefNo, A.CmpInvNo, A.InvDate, B.SpmAdd1, "
        "B.SpmAdd2, B.SpmAdd3,";
    sql +=
        "B.SpmPhone, B.SpmFax, B.SpmEmail, B.SpmContact, (G.ColumnValue) GSTN, (H.ColumnValue) "
        "STATE_NAME ";
    sql += "FROM PurchaseReceipt A ";
    sql += "INNER JOIN Supplier B ON A.SpmId = B.SpmId ";
    sql += gstinJoin;
    sql += stateJoin;
    sql += WhereDayInRange("A.InvDate", fromDate, toDate);
    sql += "AND A.Status = 1 ";
    sql += "ORDER BY PurRcptRefNo ";
    return sql;
}

}  // namespace

std::string PurchaseReceiptHeaderQuery(const std::string& fromDate, const std::string& toDate) {
    return ReceiptHeader(fromDate, toDate, kSupplierGstinJoin, kSupplierStateJoin);
}

std::string PurchaseReceiptColumnQuery(const std::string& fromDate, const std::string& toDate) {
    return ReceiptHeader(
        fromDate, toDate,
        "INNER JOIN UDCDETAILS G ON (A.SpmId = G.MasterRecordId AND G.UdcMasterId =72) ",
        "INNER JOIN UDCDETAILS H ON (A.SpmId = H.MasterRecordId AND H.UdcMasterId =73) ");
}

std::string PurchaseSupplierQuery(const std::string& fromDate, const std::string& toDate) {
    std::string sql;
    sql +=
        "SELECT DISTINCT A.SpmId, B.SpmName, B.SpmAdd1, B.SpmAdd2, B.SpmAdd3, B.SpmPhone, "
        "B.SpmFax, B.SpmEmail, ";
    sql += "B.SpmContact, (G.ColumnValue) GSTN, (H.ColumnValue) STATE_NAME ";
    sql += "FROM PurchaseReceipt A ";
    sql += "INNER JOIN Supplier B ON A.SpmId = B.SpmId ";
    sql += kSupplierGstinJoin;
    sql += kSupplierStateJoin;
    sql += WhereDayInRange("A.InvDate", fromDate, toDate);
    sql += "ORDER BY B.SpmName ";
    return sql;
}

std::string PurchaseReceiptLineQuery(const std::string& fromDate, const std::string& toDate) {
    std::string sql;
    sql +=
        "SELECT A.PurRcptId, A.PurRcptRefNo,B.PrdId, D.PrdCCode, D.PrdName, "
        "B.InvBaseQty,B.PrdLSP,B.PrdUnitLSP,";
    sql += "B.PrdTaxAmount, B.PrdNetAmount, B.PrdUnitMRP, B.PrdGrossAmount,";
    sql +=
        "H.CGST_TAXABLE, H.SGST_TAXABLE, H.IGST_TAXABLE, H.UTGST_TAXABLE, H.CGST_AMT, "
        "H.SGST_AMT,";
    sql +=
        "H.IGST_AMT, H.UTGST_AMT ,F.UomDescription, (G.ColumnValue) AS HSNCODE,B.PrdDiscount, "
        "H.TAXPERC ";
    sql += "FROM PurchaseReceipt A ";
    sql += "INNER JOIN PurchaseReceiptProduct B ON A.PurRcptId = B.PurRcptId ";
    sql += "INNER JOIN Product D ON B.PrdId = D.PrdId ";
    sql += "INNER JOIN UOMMASTER F ON D.PrdUnitId = F.UomId ";
    sql += ProductHsnJoin("INNER JOIN");
    sql += "INNER JOIN (SELECT B.PurRcptId, A.PrdSlNo,A.TaxPerc,";
    sql += TaxPivotSums("A.TaxableAmount", "A.TaxAmount", kPairedTaxSumSpacing);
    sql +=
        "FROM PurchaseReceipt B INNER JOIN PurchaseReceiptProductTax A ON B.PurRcptId = "
        "A.PurRcptId INNER JOIN TaxConfiguration C ON A.TaxId = C.TaxId ";
    sql += WhereDayInRange("B.InvDate", fromDate, toDate);
    sql +=
        "AND B.Status = 1 AND A.TaxableAmount > 0  GROUP BY B.PurRcptId, A.PrdSlNo, "
        "A.TaxPerc) H ON B.PurRcptId = H.PurRcptId AND B.PrdSlNo = H.PRDSLNO ";
    sql += WhereDayInRange("A.InvDate", fromDate, toDate);
    sql += "AND A.Status = 1 ";
    sql += "ORDER BY A.PurRcptRefNo,B.PrdSlNo ";
    return sql;
}

std::string PurchaseClaimSchemeQuery(const std::string& fromDate, const std::string& toDate) {
    std::string sql;
    sql +=
        "SELECT A.PurRcptId, A.PurRcptRefNo,B.PrdId, D.PrdCCode, D.PrdName, "
        "B.Quantity,F.UomDescription ";
    sql += "FROM PurchaseReceipt A ";
    sql += "INNER JOIN PurchaseReceiptClaimScheme B ON A.PurRcptId = B.PurRcptId ";
    sql += "INNER JOIN Product D ON B.PrdId = D.PrdId ";
    sql += "INNER JOIN UOMMASTER F ON D.PrdUnitId = F.UomId ";
    sql += " ";
    sql += WhereDayInRange("A.InvDate", fromDate, toDate);
    sql += "AND A.Status = 1 ORDER BY A.PurRcptRefNo ";
    return sql;
}

}  // namespace zentrail
