#include "screens/queries/receipt_queries.h"

#include "screens/queries/query_pieces.h"

namespace zentrail {

std::string ReceiptListQuery(const std::string& fromDate, const std::string& toDate) {
    std::string sql;
    sql +=
        "SELECT A.INVRCPNO, B.INVRCPSNO ,A.INVRCPDATE,D.RTRNAME,B.SALINVAMT RECD_AMT, "
        "C.SALINVNO, C.SALINVDATE,";
    sql +=
        "A.INVRCPAMT, B.DISBNKID, B.DISBNKBRID, (E.BNKNAME) AS CUST_BANK, (F.BNKNAME) AS "
        "DIST_BANK, (G.BNKBRNAME) AS CUST_BNK_BRANCH,";
    sql += "(H.BNKBRNAME) AS DIST_BNK_BRANCH, B.INVINSNO, B.INVINSDATE, B.INVDEPDATE, D.RTRID ";
    sql += "FROM RECEIPT A ";
    sql += "INNER JOIN RECEIPTINVOICE B ON A.INVRCPNO = B.INVRCPNO ";
    sql += "INNER JOIN SALESINVOICE C ON B.SALID = C.SALID ";
    sql += "INNER JOIN RETAILER D ON C.RTRID = D.RTRID ";
    sql += "LEFT JOIN BANK E ON B.BNKID = E.BNKID ";
    sql += "LEFT JOIN BANK F ON B.DISBNKID = F.BNKID ";
    sql += "LEFT JOIN BANKBRANCH G ON B.BNKBRID = G.BNKBRID ";
    sql += "LEFT JOIN BANKBRANCH H ON B.DISBNKBRID = H.BNKBRID ";
    sql += WhereDayInRange("A.InvRcpDate", fromDate, toDate);
    sql += "AND B.INVINSSTA < 4 AND B.CANCELSTATUS = 1 ";
    sql += "ORDER BY A.INVRCPNO,C.SALINVNO ";
    return sql;
}

std::string ReceiptPartyQuery(const std::string& fromDate, const std::string& toDate) {
    std::string sql;
    sql +=
        "SELECT DISTINCT D.RtrName, D.RtrCode, D.RtrName, C.RtrId, D.RtrAdd1, D.RtrAdd2, "
        "D.RtrAdd3, D.RtrPinNo, ";
    sql +=
        "D.RtrPhoneNo, D.RtrEmailId, D.RtrContactPerson, D.RtrRegDate, D.RtrTINNo, "
        "D.RtrCrLimit, D.RtrCrDays,  ";
    sql +=
        "F.ColumnValue AS GSTN, G.ColumnValue AS REG_UNREG, H.ColumnValue AS "
        "PAN_NUM,I.ColumnValue AS STat_Name, J.ColumnValue AS COMPOS ";
    sql += "FROM Receipt A ";
    sql += "INNER JOIN ReceiptInvoice B ON A.InvRcpNo = B.InvRcpNo ";
    sql += "INNER JOIN SalesInvoice C ON B.SalId = C.SalId ";
    sql += "INNER JOIN Retailer D ON C.RtrId = D.RtrId ";
    sql += CustomerUdcJoin("LEFT JOIN", "F", "C.RTRID", "GSTIN");
    sql += CustomerUdcJoin("LEFT JOIN", "G", "C.RTRID", "Retailer Type");
    sql += CustomerUdcJoin("LEFT JOIN", "H", "C.RTRID", "PAN Number");
    sql += CustomerUdcJoin("LEFT JOIN", "I", "C.RTRID", "State Name");
    sql += CustomerUdcJoin("LEFT JOIN", "J", "C.RTRID", "Composition");
    sql += WhereDayInRange("A.InvRcpDate", fromDate, toDate);
    sql += "AND B.InvInsSta < 4 AND B.CancelStatus = 1 ";
    sql += "ORDER BY D.RtrName ";
    return sql;
}

std::string ReceiptBankQuery() { return "SELECT DISTINCT BnkName FROM Bank ORDER BY BnkName"; }

}  // namespace zentrail
