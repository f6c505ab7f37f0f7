-- The job database: twelve tables, one per segment of the frame data file.
-- Whole columns are INTEGER, real columns REAL. Rows stay in entry order
-- through the hidden rowid, which is why no table declares its own key:
-- a section or concrete number is the position of its row.
-- Identifiers are quoted because COLUMN is a word of the SQL language.

CREATE TABLE "WEIGHT" ("K" INTEGER);

CREATE TABLE "STIFFNESS" ("ALFI" REAL, "ALFF" REAL);

CREATE TABLE "BARSEC" ("Bi" REAL, "Hi" REAL);

CREATE TABLE "CONCRATE" ("ICi" INTEGER);

CREATE TABLE "POINT" ("IPi" INTEGER, "IXi" INTEGER, "IYi" INTEGER, "IFi" INTEGER,
                      "Xi" REAL, "Yi" REAL);

CREATE TABLE "BEAM" ("Ii" INTEGER, "Ji" INTEGER, "KSECi" INTEGER, "KCi" INTEGER);

CREATE TABLE "COLUMN" ("Ii" INTEGER, "Ji" INTEGER, "KSECi" INTEGER, "KCi" INTEGER,
                       "ALFi" REAL);

CREATE TABLE "DLOAD" ("IBARi" INTEGER, "ICi" INTEGER, "Qi" REAL, "Ai" REAL, "Bi" REAL);

CREATE TABLE "LLOAD" ("IBARi" INTEGER, "ICi" INTEGER, "Qi" REAL, "Ai" REAL, "Bi" REAL);

CREATE TABLE "WLOAD" ("IBARi" INTEGER, "ICi" INTEGER, "Qi" REAL, "Ai" REAL, "Bi" REAL);

CREATE TABLE "SEISMIC1" ("KCLASS" INTEGER, "K0" INTEGER, "TG" REAL, "ALF1" REAL, "ALF2" REAL,
                         "NN" INTEGER, "ADJUST" REAL);

CREATE TABLE "SEISMIC2" ("NRN" INTEGER, "Mi" INTEGER, "AWi" REAL);
