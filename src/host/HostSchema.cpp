#include "host/HostSchema.h"

namespace HostSchema {

QStringList courseFields()
{
    return {QStringLiteral("GH_S"), QStringLiteral("GH_P"),   QStringLiteral("GH_AP"), QStringLiteral("GH_JN"),
            QStringLiteral("GH_N"), QStringLiteral("GH_EM"),  QStringLiteral("GH_ME"), QStringLiteral("GH_SAIL"),
            QStringLiteral("GH_W"), QStringLiteral("ID_001"), QStringLiteral("GH_CP"), QStringLiteral("GH_OT"),
            QStringLiteral("LDP")};
}

QStringList primaryTables()
{
    QString members = QStringLiteral(
        "CREATE TABLE Members (Mem_ID INTEGER, Squadron INTEGER, Cert VARCHAR(7), Last VARCHAR(25), "
        "First VARCHAR(16), Grade VARCHAR(2), Rank VARCHAR(8), SquadRank VARCHAR(8), Address VARCHAR(60), "
        "Address2 VARCHAR(60), City VARCHAR(30), State VARCHAR(2), ZIP VARCHAR(10), Phone VARCHAR(12), "
        "Email VARCHAR(40), MemTypeStat VARCHAR(10), OtherMember VARCHAR(10), GH_Senior VARCHAR(4)");
    for (const QString& field : courseFields())
        members += QStringLiteral(", %1 VARCHAR(8)").arg(field);
    members += QLatin1Char(')');
    return {
        QStringLiteral("CREATE TABLE HomeSquad (Home_Name VARCHAR(30), Home_Code VARCHAR(10), Home_No INTEGER, "
                       "Home_Dist INTEGER)"),
        members,
        QStringLiteral("CREATE TABLE MemberCom (Mem_ID INTEGER, Department VARCHAR(4), Position VARCHAR(4), "
                       "Committee VARCHAR(6), SDN VARCHAR(1), NewOD BOOLEAN)"),
        QStringLiteral("CREATE TABLE commdept (Dep_Code VARCHAR(4), Dep_Title VARCHAR(50))"),
        QStringLiteral("CREATE TABLE CommDesc (Com_Code VARCHAR(6), Com_Title VARCHAR(50))"),
        QStringLiteral("CREATE TABLE CommPos (Pos_Code VARCHAR(4), Pos_Title VARCHAR(50))"),
        QStringLiteral("CREATE TABLE MeritMarks (Mem_ID INTEGER, MM_Year VARCHAR(4), MM_Prec VARCHAR(1))"),
        QStringLiteral("CREATE TABLE FormsAddin (MenuName VARCHAR(50), Addinexe VARCHAR(50), ComLine VARCHAR(50), "
                       "Window INTEGER)"),
    };
}

QStringList squadronsTables()
{
    return {
        QStringLiteral("CREATE TABLE AllSquadrons (Squad_No INTEGER, Squad_Code VARCHAR(10), Squad_Name VARCHAR(30), "
                       "Squad_District INTEGER)"),
        QStringLiteral("CREATE TABLE url_list (historian VARCHAR(255), homepage VARCHAR(255))"),
    };
}

} // namespace HostSchema
