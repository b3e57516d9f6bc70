#include "screens/queries/credit_note_queries.h"

#include "screens/queries/query_pieces.h"

namespace zentrail {
namespace {

std::string CreditNoteHeader(const std::string& fromDate, const std::string& toDate,
                             const char* tail) {
    std::string sql;
    sql +=
        "SELECT A.CrNoteNumber, A.CrNoteDate, C.RtrName, B.[Description], A.CrAdjAmount, "
        "A.Remarks, ";
    sql +=
        "A.RtrId, A.ReasonId, A.PostedFrom, C.RTRADD1, C.RTRADD2, C.RTRADD3, E.SalInvNo, "
        "E.SalInvDate ";
    sql += " ";
    sql += "FROM CreditNoteRetailer A ";
    sql += "INNER JOIN ReasonMaster B ON A.ReasonId = B.ReasonId ";
    sql += "INNER JOIN Retailer C ON A.RtrId = C.RtrId ";
    sql += "INNER JOIN SalInvCrNoteAdj D ON A.CrNoteNumber = D.CrNoteNumber ";
    sql += "INNER JOIN SalesInvoice E ON D.SALID = E.SalId ";
    sql += WhereDayInRange("A.CrNoteDate", fromDate, toDate);
    sql += tail;
    return sql;
}

}  // namespace

std::string RetailerCreditNoteHeaderQuery(const std::string& fromDate, const std::string& toDate) {
    return CreditNoteHeader(fromDate, toDate,
                            "AND A.CrAdjAmount > 0 AND A.TRANSID <> 30 ORDER BY A.CrNoteNumber ");
}

std::string RetailerCreditNoteColumnQuery(const std::string& fromDate, const std::string& toDate) {
    return CreditNoteHeader(fromDate, toDate, "AND A.CrAdjAmount > 0 ORDER BY A.CrNoteNumber ");
}

std::string RetailerCreditNotePartyQuery(const std::string& fromDate, const std::string& toDate) {
    std::string sql;
    sql += "SELECT C.RtrName, A.RtrId, C.RTRADD1, C.RTRADD2, C.RTRADD3 ";
    sql += " ";
    sql += "FROM CreditNoteRetailer A ";
    sql += "INNER JOIN Retailer C ON A.RtrId = C.RtrId ";
    sql += " ";
    sql += WhereDayInRange("A.CrNoteDate", fromDate, toDate);
    sql += "AND A.CrAdjAmount > 0 ";
    sql += "ORDER BY C.RtrName ";
    return sql;
}

std::string CreditNoteReasonQuery() { return "SELECT * FROM ReasonMaster "; }

}  // namespace zentrail
