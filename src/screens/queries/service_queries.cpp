#include "screens/queries/service_queries.h"

namespace zentrail {
namespace {

void AppendServiceDateRange(std::string& sql, const std::string& fromDate,
                            const std::string& toDate) {
    sql += "WHERE CONVERT(DATETIME,CONVERT(VARCHAR(10),A.SERVICEINVDATE,101))  >= '";
    sql += fromDate;
    sql += "' AND CONVERT(DATETIME,CONVERT(VARCHAR(10),A.SERVICEINVDATE,101)) <= '";
    sql += toDate;
    sql += "' ";
}

}  // namespace

std::string ServiceInvoiceQuery(const std::string& fromDate, const std::string& toDate) {
    std::string sql =
        "SELECT A.SERVICEINVREFNO, (CASE WHEN A.SERVICEINVFOR = 1 THEN ('Purchase') ELSE 'Sales' "
        "END) AS TRAN_TYPE,A.SERVICEINVDATE, B.SPMNAME, C.RTRNAME,A.TOTALAMOUNT, "
        "A.SERVICEAMOUNT, A.GSTAMOUNT, A.REVERSECHARGES,A.SERVICEINVSTATUS, A.DOCREFNO, "
        "A.REMARKS, A.SERVICEFROMID , A.SERVICETOID, A.FROMGSTTINNO,A.FROMSTATECODE, "
        "A.SERVICETYPE, A.SERVICEACCODE, D.SERNAME, C.RTRID, C.RTRADD1, C.RTRADD2,C.RTRADD3,"
        "B.SPMADD1, B.SPMADD2, B.SPMADD3, E.CGST_TAXABLE, E.SGST_TAXABLE, E.IGST_TAXABLE, "
        "E.UTGST_TAXABLE, E.CGST_AMT, E.SGST_AMT, E.IGST_AMT, E.UTGST_AMT FROM SERVICEINVOICEHD "
        "A LEFT JOIN SUPPLIER B ON A.SERVICETOID = B.SPMID LEFT JOIN RETAILER C ON "
        "A.SERVICEFROMID = C.RtrId INNER JOIN SERVICEMASTER D ON A.SERVICETYPE = D.SERVICEID "
        "INNER JOIN (SELECT A.ServiceINVId,SUM(CASE WHEN C.SERVICETAXCODE = 'CGST' THEN "
        "(B.TAXABLEAMOUNT) ELSE 0 END) AS CGST_TAXABLE,SUM(CASE WHEN C.SERVICETAXCODE = 'SGST' "
        "THEN (B.TaxableAmount) ELSE 0 END) AS SGST_TAXABLE,SUM(CASE WHEN C.SERVICETAXCODE = "
        "'UTGST' THEN (B.TaxableAmount) ELSE 0 END) AS UTGST_TAXABLE,SUM(CASE WHEN "
        "C.SERVICETAXCODE = 'IGST' THEN (B.TaxableAmount) ELSE 0 END) AS IGST_TAXABLE,SUM(CASE "
        "WHEN C.SERVICETAXCODE = 'CGST' THEN (B.TAXAMOUNT) ELSE 0 END) AS CGST_AMT,SUM(CASE WHEN "
        "C.SERVICETAXCODE = 'SGST' THEN (B.TaxAmount) ELSE 0 END) AS SGST_AMT,SUM(CASE WHEN "
        "C.SERVICETAXCODE = 'UTGST' THEN (B.TaxAmount) ELSE 0 END) AS UTGST_AMT,SUM(CASE WHEN "
        "C.SERVICETAXCODE = 'IGST' THEN (B.TaxAmount) ELSE 0 END) AS IGST_AMT FROM "
        "SERVICEINVOICEHD A INNER JOIN ServiceInvoiceTaxDetails B ON A.ServiceINVId = "
        "B.ServiceInvId INNER JOIN ServiceTaxGroupSetting C ON B.Taxid = C.TaxId AND "
        "B.ServiceTaxSeqId = C.ServiceTaxSeqid GROUP BY A.ServiceINVId) E ON A.SERVICEINVID = "
        "E.SERVICEINVID ";
    AppendServiceDateRange(sql, fromDate, toDate);
    sql += "ORDER BY A.SERVICEINVDATE,A.SERVICEINVREFNO";
    return sql;
}

std::string ServicePartyQuery(const std::string& fromDate, const std::string& toDate) {
    std::string sql =
        "SELECT (CASE WHEN A.SERVICEINVFOR = 1 THEN ('Purchase') ELSE 'Sales' END) AS "
        "TRAN_TYPE,B.SPMNAME, C.RTRNAME, A.FROMGSTTINNO, A.FROMSTATECODE, C.RTRID, C.RTRADD1, "
        "C.RTRADD2,C.RTRADD3 , B.SPMADD1, B.SPMADD2, B.SPMADD3 FROM SERVICEINVOICEHD A LEFT JOIN "
        "SUPPLIER B ON A.SERVICETOID = B.SPMID LEFT JOIN RETAILER C ON A.SERVICEFROMID = "
        "C.RtrId INNER JOIN SERVICEMASTER D ON A.SERVICETYPE = D.SERVICEID ";
    AppendServiceDateRange(sql, fromDate, toDate);
    return sql;
}

}  // namespace zentrail
