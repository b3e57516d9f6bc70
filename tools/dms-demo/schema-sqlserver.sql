-- Demo distributor-management database, SQL Server (T-SQL) form of schema.sql: the same
-- tables and columns, for setting up a test server. The screens' SQL texts name tables and
-- columns in mixed case, so the database needs a case-insensitive collation (the default
-- SQL_Latin1_General_CP1_CI_AS serves). To fill it, generate the SQLite file with dms-demo
-- and copy its rows table by table with any data-transfer tool. The screens' dates are
-- 'MM/DD/YYYY' texts: the login must read dates month first (us_english).

-- Masters -------------------------------------------------------------------------------

CREATE TABLE STATEMASTER (
    StateId INT NOT NULL PRIMARY KEY,
    StateCode VARCHAR(2) NOT NULL,          -- GST state code, the first two digits of a GSTIN
    StateName VARCHAR(50) NOT NULL
);

CREATE TABLE UOMMASTER (
    UomId INT NOT NULL PRIMARY KEY,
    UomCode VARCHAR(10) NOT NULL,
    UomDescription VARCHAR(50) NOT NULL
);

CREATE TABLE TaxConfiguration (
    TaxId INT NOT NULL PRIMARY KEY,
    TaxCode VARCHAR(10) NOT NULL,           -- CGST, SGST, IGST or UTGST
    TaxName VARCHAR(50) NOT NULL
);

CREATE TABLE Product (
    PrdId INT NOT NULL PRIMARY KEY,
    PrdCCode VARCHAR(20) NOT NULL,          -- company (manufacturer) code
    PrdDCode VARCHAR(20) NOT NULL,          -- distributor code
    PrdName NVARCHAR(100) NOT NULL,
    PrdUnitId INT NOT NULL,             -- UOMMASTER
    PrdMRP NUMERIC(18,2) NOT NULL,
    PrdGSTRate NUMERIC(5,2) NOT NULL        -- total GST percentage
);

-- User-defined columns: UdcHD names a master, UdcMaster its columns, UdcDetails one value
-- per master record.
CREATE TABLE UdcHD (
    MasterId INT NOT NULL PRIMARY KEY,
    MasterName VARCHAR(50) NOT NULL
);

CREATE TABLE UdcMaster (
    UdcMasterId INT NOT NULL PRIMARY KEY,
    MasterId INT NOT NULL,
    ColumnName VARCHAR(50) NOT NULL
);

CREATE TABLE UdcDetails (
    UdcDetailId INT NOT NULL PRIMARY KEY,
    MasterId INT NOT NULL,
    UdcMasterId INT NOT NULL,
    MasterRecordId INT NOT NULL,
    ColumnValue NVARCHAR(100)
);

CREATE TABLE Retailer (
    RtrId INT NOT NULL PRIMARY KEY,
    RtrCode VARCHAR(20) NOT NULL,
    RtrName NVARCHAR(100) NOT NULL,
    RtrAdd1 NVARCHAR(100),
    RtrAdd2 NVARCHAR(100),
    RtrAdd3 NVARCHAR(100),
    RtrPinNo VARCHAR(10),
    RtrPhoneNo VARCHAR(30),
    RtrEmailId VARCHAR(100),
    RtrContactPerson NVARCHAR(100),
    RtrRegDate DATETIME,
    RtrTINNo VARCHAR(20),
    RtrCrLimit NUMERIC(18,2),
    RtrCrDays INT,
    RtrDrugLicNo VARCHAR(30),
    RtrDrugExpiryDate DATETIME
);

CREATE TABLE RetailerShipAdd (
    RtrShipId INT NOT NULL PRIMARY KEY,
    RtrId INT NOT NULL,
    RtrShipAdd1 NVARCHAR(100),
    RtrShipAdd2 NVARCHAR(100),
    RtrShipAdd3 NVARCHAR(100),
    RtrShipPinNo VARCHAR(10),
    GSTTinNo VARCHAR(15),
    StateId INT NOT NULL
);

CREATE TABLE Supplier (
    SpmId INT NOT NULL PRIMARY KEY,
    SpmCode VARCHAR(20) NOT NULL,
    SpmName NVARCHAR(100) NOT NULL,
    SpmAdd1 NVARCHAR(100),
    SpmAdd2 NVARCHAR(100),
    SpmAdd3 NVARCHAR(100),
    SpmPhone VARCHAR(30),
    SpmFax VARCHAR(30),
    SpmEmail VARCHAR(100),
    SpmContact NVARCHAR(100)
);

-- The distributor's depots, with the address columns of a supplier.
CREATE TABLE IDTMaster (
    SpmId INT NOT NULL PRIMARY KEY,
    SpmCode VARCHAR(20) NOT NULL,
    SpmName NVARCHAR(100) NOT NULL,
    SpmAdd1 NVARCHAR(100),
    SpmAdd2 NVARCHAR(100),
    SpmAdd3 NVARCHAR(100),
    SpmPhone VARCHAR(30),
    SpmFax VARCHAR(30),
    SpmEmail VARCHAR(100),
    SpmContact NVARCHAR(100)
);

CREATE TABLE Bank (
    BnkId INT NOT NULL PRIMARY KEY,
    BnkCode VARCHAR(20) NOT NULL,
    BnkName NVARCHAR(100) NOT NULL
);

CREATE TABLE BankBranch (
    BnkBrId INT NOT NULL PRIMARY KEY,
    BnkId INT NOT NULL,
    BnkBrCode VARCHAR(20) NOT NULL,
    BnkBrName NVARCHAR(100) NOT NULL
);

CREATE TABLE ReasonMaster (
    ReasonId INT NOT NULL PRIMARY KEY,
    ReasonCode VARCHAR(20) NOT NULL,
    Description NVARCHAR(100) NOT NULL
);

CREATE TABLE SERVICEMASTER (
    ServiceId INT NOT NULL PRIMARY KEY,
    SerCode VARCHAR(20) NOT NULL,
    SerName NVARCHAR(100) NOT NULL,
    SacCode VARCHAR(10)
);

-- Components of a service tax group: TaxId names the group, ServiceTaxSeqId the component.
CREATE TABLE ServiceTaxGroupSetting (
    TaxId INT NOT NULL,
    ServiceTaxSeqId INT NOT NULL,
    ServiceTaxCode VARCHAR(10) NOT NULL,    -- CGST, SGST, IGST or UTGST
    TaxPerc NUMERIC(5,2) NOT NULL,
    PRIMARY KEY (TaxId, ServiceTaxSeqId)
);

-- Sales ---------------------------------------------------------------------------------

-- DlvSts: 1 and 2 not yet delivered, 3 cancelled, 4 delivered.
CREATE TABLE SalesInvoice (
    SalId INT NOT NULL PRIMARY KEY,
    SalInvNo VARCHAR(20) NOT NULL,
    SalInvDate DATETIME NOT NULL,
    RtrId INT NOT NULL,
    RtrShipId INT NOT NULL,
    DlvSts INT NOT NULL,
    OrderKeyNo VARCHAR(20),
    OrderDate DATETIME,
    SalDlvDate DATETIME,
    InvType INT NOT NULL,
    SalGrossAmount NUMERIC(18,2) NOT NULL,
    SalRateDiffAmount NUMERIC(18,2) NOT NULL,
    SalSplDiscAmount NUMERIC(18,2) NOT NULL,
    SalSchDiscAmount NUMERIC(18,2) NOT NULL,
    SalDBDiscAmount NUMERIC(18,2) NOT NULL,
    SalCDAmount NUMERIC(18,2) NOT NULL,
    SalTaxAmount NUMERIC(18,2) NOT NULL,
    TotalAddition NUMERIC(18,2) NOT NULL,
    TotalDeduction NUMERIC(18,2) NOT NULL,
    SalActNetRateAmount NUMERIC(18,2) NOT NULL,   -- net before round-off
    SalRoundOffAmt NUMERIC(18,2) NOT NULL,
    SalNetAmt NUMERIC(18,2) NOT NULL,             -- net rounded to whole rupees
    SalPayAmt NUMERIC(18,2) NOT NULL,             -- net less credit note adjustments
    DBAdjAmount NUMERIC(18,2) NOT NULL,
    CRAdjAmount NUMERIC(18,2) NOT NULL,
    MarketRetAmount NUMERIC(18,2) NOT NULL,
    WindowDisplay INT NOT NULL,
    WindowDisplayAmount NUMERIC(18,2) NOT NULL
);

CREATE TABLE SalesInvoiceProduct (
    SalId INT NOT NULL,
    SlNo INT NOT NULL,
    PrdId INT NOT NULL,
    BaseQty INT NOT NULL,
    Uom1Id INT NOT NULL,
    PrdUnitMRP NUMERIC(18,2) NOT NULL,
    PrdUnitSelRate NUMERIC(18,2) NOT NULL,
    PrdGrossAmount NUMERIC(18,2) NOT NULL,
    PrdSchDiscAmount NUMERIC(18,2) NOT NULL,
    PrdSplDiscAmount NUMERIC(18,2) NOT NULL,
    PrdCDAmount NUMERIC(18,2) NOT NULL,
    PrdDBDiscAmount NUMERIC(18,2) NOT NULL,
    PrdTaxAmount NUMERIC(18,2) NOT NULL,
    PrdNetAmount NUMERIC(18,2) NOT NULL,
    PRIMARY KEY (SalId, SlNo)
);

CREATE TABLE SalesInvoiceProductTax (
    SalId INT NOT NULL,
    PrdSlNo INT NOT NULL,
    TaxId INT NOT NULL,
    TaxPerc NUMERIC(5,2) NOT NULL,
    TaxableAmount NUMERIC(18,2) NOT NULL,
    TaxAmount NUMERIC(18,2) NOT NULL,
    PRIMARY KEY (SalId, PrdSlNo, TaxId)
);

CREATE TABLE SalesInvoiceSchemeDtFreePrd (
    SalId INT NOT NULL,
    SchId INT NOT NULL,
    FreePrdId INT NOT NULL,
    FREEQty INT NOT NULL,
    PRIMARY KEY (SalId, SchId, FreePrdId)
);

-- Retailer credit notes and their adjustment against invoices.
CREATE TABLE CreditNoteRetailer (
    CrNoteNumber VARCHAR(20) NOT NULL PRIMARY KEY,
    CrNoteDate DATETIME NOT NULL,
    RtrId INT NOT NULL,
    ReasonId INT NOT NULL,
    Amount NUMERIC(18,2) NOT NULL,
    CrAdjAmount NUMERIC(18,2) NOT NULL,
    Remarks NVARCHAR(200),
    PostedFrom VARCHAR(30),
    TRANSID INT NOT NULL
);

CREATE TABLE SalInvCrNoteAdj (
    CrNoteNumber VARCHAR(20) NOT NULL,
    SALID INT NOT NULL,
    AdjAmount NUMERIC(18,2) NOT NULL,
    PRIMARY KEY (CrNoteNumber, SALID)
);

-- Sales returns: Status 0 active, 1 cancelled.
CREATE TABLE ReturnHeader (
    ReturnID INT NOT NULL PRIMARY KEY,
    ReturnCode VARCHAR(20) NOT NULL,
    ReturnDate DATETIME NOT NULL,
    RtrId INT NOT NULL,
    SalId INT,                          -- NULL for a return without an invoice
    InvoiceType INT NOT NULL,           -- 1 against an invoice, 2 without
    Status INT NOT NULL,
    RtnGrossAmt NUMERIC(18,2) NOT NULL,
    RtnSplDisAmt NUMERIC(18,2) NOT NULL,
    RtnSchDisAmt NUMERIC(18,2) NOT NULL,
    RtnDBDisAmt NUMERIC(18,2) NOT NULL,
    RtnTaxAmt NUMERIC(18,2) NOT NULL,
    RtnRoundOffAmt NUMERIC(18,2) NOT NULL,
    RtnNetAmt NUMERIC(18,2) NOT NULL
);

CREATE TABLE ReturnProduct (
    ReturnID INT NOT NULL,
    SlNo INT NOT NULL,
    PrdId INT NOT NULL,
    BaseQty INT NOT NULL,
    PrdUnitMRP NUMERIC(18,2) NOT NULL,
    PrdUnitSelRte NUMERIC(18,2) NOT NULL,
    PrdGrossAmt NUMERIC(18,2) NOT NULL,
    PrdSchDisAmt NUMERIC(18,2) NOT NULL,
    PrdSplDisAmt NUMERIC(18,2) NOT NULL,
    PrdCDDisAmt NUMERIC(18,2) NOT NULL,
    PrdTaxAmt NUMERIC(18,2) NOT NULL,
    PrdNetAmt NUMERIC(18,2) NOT NULL,
    PRIMARY KEY (ReturnID, SlNo)
);

CREATE TABLE ReturnProductTax (
    ReturnID INT NOT NULL,
    PrdSlNo INT NOT NULL,
    TaxId INT NOT NULL,
    TaxPerc NUMERIC(5,2) NOT NULL,
    TaxableAmt NUMERIC(18,2) NOT NULL,
    TaxAmt NUMERIC(18,2) NOT NULL,
    PRIMARY KEY (ReturnID, PrdSlNo, TaxId)
);

-- Customer receipts, one ReceiptInvoice row per invoice settled. InvInsSta: 1 received,
-- 2 deposited, 3 realised, 4 bounced; CancelStatus 1 valid, 0 cancelled.
CREATE TABLE Receipt (
    InvRcpNo VARCHAR(20) NOT NULL PRIMARY KEY,
    InvRcpDate DATETIME NOT NULL,
    InvRcpAmt NUMERIC(18,2) NOT NULL,
    InvRcpMode INT NOT NULL             -- 1 cash, 2 cheque, 3 bank transfer
);

CREATE TABLE ReceiptInvoice (
    InvRcpNo VARCHAR(20) NOT NULL,
    InvRcpSNo INT NOT NULL,
    SalId INT NOT NULL,
    SalInvAmt NUMERIC(18,2) NOT NULL,       -- amount applied to the invoice
    BnkId INT,                          -- customer's bank
    BnkBrId INT,
    DisBnkId INT,                       -- distributor's bank
    DisBnkBrId INT,
    InvInsNo VARCHAR(20),
    InvInsDate DATETIME,
    InvDepDate DATETIME,
    InvInsSta INT NOT NULL,
    CancelStatus INT NOT NULL,
    PRIMARY KEY (InvRcpNo, InvRcpSNo)
);

-- Purchases -----------------------------------------------------------------------------

-- Status: 0 pending, 1 confirmed.
CREATE TABLE PurchaseReceipt (
    PurRcptId INT NOT NULL PRIMARY KEY,
    PurRcptRefNo VARCHAR(20) NOT NULL,
    GoodsRcvdDate DATETIME NOT NULL,
    InvDate DATETIME NOT NULL,
    SpmId INT NOT NULL,
    CmpInvNo VARCHAR(30) NOT NULL,
    PurOrderRefNo VARCHAR(20),
    Status INT NOT NULL,
    GrossAmount NUMERIC(18,2) NOT NULL,
    DiscountAmount NUMERIC(18,2) NOT NULL,
    TaxAmount NUMERIC(18,2) NOT NULL,
    RoundOffAmount NUMERIC(18,2) NOT NULL,
    NetAmount NUMERIC(18,2) NOT NULL,
    NetPayable NUMERIC(18,2) NOT NULL
);

CREATE TABLE PurchaseReceiptProduct (
    PurRcptId INT NOT NULL,
    PrdSlNo INT NOT NULL,
    PrdId INT NOT NULL,
    InvBaseQty INT NOT NULL,
    PrdUnitMRP NUMERIC(18,2) NOT NULL,
    PrdLSP NUMERIC(18,2) NOT NULL,
    PrdUnitLSP NUMERIC(18,2) NOT NULL,
    PrdGrossAmount NUMERIC(18,2) NOT NULL,
    PrdDiscount NUMERIC(18,2) NOT NULL,
    PrdTaxAmount NUMERIC(18,2) NOT NULL,
    PrdNetAmount NUMERIC(18,2) NOT NULL,
    PRIMARY KEY (PurRcptId, PrdSlNo)
);

CREATE TABLE PurchaseReceiptProductTax (
    PurRcptId INT NOT NULL,
    PrdSlNo INT NOT NULL,
    TaxId INT NOT NULL,
    TaxPerc NUMERIC(5,2) NOT NULL,
    TaxableAmount NUMERIC(18,2) NOT NULL,
    TaxAmount NUMERIC(18,2) NOT NULL,
    PRIMARY KEY (PurRcptId, PrdSlNo, TaxId)
);

CREATE TABLE PurchaseReceiptClaimScheme (
    PurRcptId INT NOT NULL,
    SlNo INT NOT NULL,
    PrdId INT NOT NULL,
    Quantity INT NOT NULL,
    PRIMARY KEY (PurRcptId, SlNo)
);

-- Inter-depot transfers: StkMgmtTypeId 1 in, 2 out; SpmId is the other depot.
CREATE TABLE IDTManagement (
    IDTMngRefNo VARCHAR(20) NOT NULL PRIMARY KEY,
    DocRefNo VARCHAR(30),
    StkMgmtTypeId INT NOT NULL,
    IDTMngDate DATETIME NOT NULL,
    SpmId INT NOT NULL,
    FromSpmId INT NOT NULL,
    ToSpmId INT NOT NULL,
    Status INT NOT NULL,
    IDTGrossAmt NUMERIC(18,2) NOT NULL,
    IDTTaxAmt NUMERIC(18,2) NOT NULL,
    IDTNetAmt NUMERIC(18,2) NOT NULL,
    IDTPaidAmt NUMERIC(18,2) NOT NULL,
    LRNo VARCHAR(30),
    LRDate DATETIME
);

CREATE TABLE IDTManagementProduct (
    IDTMngRefNo VARCHAR(20) NOT NULL,
    PrdSlNo INT NOT NULL,
    PrdId INT NOT NULL,
    Qty INT NOT NULL,
    PrdMRPRate NUMERIC(18,2) NOT NULL,
    PrdUnitRate NUMERIC(18,2) NOT NULL,
    PrdGrossAmount NUMERIC(18,2) NOT NULL,
    PrdTaxAmount NUMERIC(18,2) NOT NULL,
    PrdNetAmount NUMERIC(18,2) NOT NULL,
    PRIMARY KEY (IDTMngRefNo, PrdSlNo)
);

CREATE TABLE IDTManagementProductTax (
    IDTMngRefNo VARCHAR(20) NOT NULL,
    PrdSlNo INT NOT NULL,
    TaxId INT NOT NULL,
    TaxPerc NUMERIC(5,2) NOT NULL,
    TaxableAmount NUMERIC(18,2) NOT NULL,
    TaxAmount NUMERIC(18,2) NOT NULL,
    PRIMARY KEY (IDTMngRefNo, PrdSlNo, TaxId)
);

-- Service invoices: SERVICEINVFOR 1 bought from a retailer (SERVICEFROMID), 2 sold to a
-- supplier (SERVICETOID). FROMGSTTINNO and FROMSTATECODE are the party's GSTIN and state name.
CREATE TABLE SERVICEINVOICEHD (
    ServiceInvId INT NOT NULL PRIMARY KEY,
    ServiceInvRefNo VARCHAR(20) NOT NULL,
    ServiceInvDate DATETIME NOT NULL,
    ServiceInvFor INT NOT NULL,
    ServiceFromId INT,
    ServiceToId INT,
    ServiceType INT NOT NULL,
    ServiceAcCode VARCHAR(20),
    ServiceAmount NUMERIC(18,2) NOT NULL,
    GSTAmount NUMERIC(18,2) NOT NULL,
    TotalAmount NUMERIC(18,2) NOT NULL,
    ReverseCharges VARCHAR(1) NOT NULL,
    ServiceInvStatus INT NOT NULL,
    DocRefNo VARCHAR(30),
    Remarks NVARCHAR(200),
    FromGSTTinNo VARCHAR(15),
    FromStateCode NVARCHAR(50)
);

CREATE TABLE ServiceInvoiceTaxDetails (
    ServiceInvId INT NOT NULL,
    TaxId INT NOT NULL,
    ServiceTaxSeqId INT NOT NULL,
    TaxPerc NUMERIC(5,2) NOT NULL,
    TaxableAmount NUMERIC(18,2) NOT NULL,
    TaxAmount NUMERIC(18,2) NOT NULL,
    PRIMARY KEY (ServiceInvId, TaxId, ServiceTaxSeqId)
);

-- Look-up paths of the screens' joins ---------------------------------------------------

CREATE INDEX IX_UdcDetails_Record ON UdcDetails (MasterRecordId, UdcMasterId);
CREATE INDEX IX_RetailerShipAdd_Rtr ON RetailerShipAdd (RtrId);
CREATE INDEX IX_SalesInvoice_Date ON SalesInvoice (SalInvDate);
CREATE INDEX IX_SalesInvoice_Rtr ON SalesInvoice (RtrId);
CREATE INDEX IX_SalInvCrNoteAdj_Sal ON SalInvCrNoteAdj (SALID);
CREATE INDEX IX_ReturnHeader_Date ON ReturnHeader (ReturnDate);
CREATE INDEX IX_ReceiptInvoice_Sal ON ReceiptInvoice (SalId);
CREATE INDEX IX_PurchaseReceipt_Date ON PurchaseReceipt (InvDate);
CREATE INDEX IX_IDTManagement_Date ON IDTManagement (IDTMngDate);
CREATE INDEX IX_ServiceInvoice_Date ON SERVICEINVOICEHD (ServiceInvDate);
