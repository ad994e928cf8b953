-- Company database for PostgreSQL. Generated from schema/compensato.schema by tools/schemagen.
-- Needs: CREATE EXTENSION citext;

CREATE DOMAIN testo_1 AS CITEXT CHECK (char_length(VALUE) <= 1);

CREATE DOMAIN testo_2 AS CITEXT CHECK (char_length(VALUE) <= 2);

CREATE DOMAIN testo_4 AS CITEXT CHECK (char_length(VALUE) <= 4);

CREATE DOMAIN testo_5 AS CITEXT CHECK (char_length(VALUE) <= 5);

CREATE DOMAIN testo_6 AS CITEXT CHECK (char_length(VALUE) <= 6);

CREATE DOMAIN testo_8 AS CITEXT CHECK (char_length(VALUE) <= 8);

CREATE DOMAIN testo_10 AS CITEXT CHECK (char_length(VALUE) <= 10);

CREATE DOMAIN testo_15 AS CITEXT CHECK (char_length(VALUE) <= 15);

CREATE DOMAIN testo_16 AS CITEXT CHECK (char_length(VALUE) <= 16);

CREATE DOMAIN testo_30 AS CITEXT CHECK (char_length(VALUE) <= 30);

CREATE DOMAIN testo_40 AS CITEXT CHECK (char_length(VALUE) <= 40);

CREATE DOMAIN testo_60 AS CITEXT CHECK (char_length(VALUE) <= 60);

CREATE DOMAIN testo_255 AS CITEXT CHECK (char_length(VALUE) <= 255);

CREATE TABLE "Scadenze" (
  "Anno" SMALLINT NOT NULL,
  "NumProg" INTEGER NOT NULL,
  "Tipo" SMALLINT,
  "GruppoScad" testo_2,
  "MastroScad" testo_2,
  "ContoScad" testo_6,
  "DataScad" DATE,
  "Pagamento" testo_4,
  "PagTipo" testo_4,
  "BancaCF" testo_8,
  "CCorrente" testo_30,
  "NumReg" INTEGER,
  "AnnoReg" SMALLINT,
  "Prefisso" testo_4,
  "NumDoc" testo_15,
  "DataDoc" DATE,
  "PreProt" testo_4,
  "NumProt" INTEGER,
  "DataProt" DATE,
  "Causale" testo_4,
  "Rata" SMALLINT,
  "Moneta" testo_5,
  "Cambio" DOUBLE PRECISION,
  "EntrataUscita" testo_1,
  "ImportoScad" NUMERIC(19,4),
  "ImportoScadLire" NUMERIC(19,4),
  "ImportoScadEuro" NUMERIC(19,4),
  "ImportoFatt" NUMERIC(19,4),
  "ImpPagato" SMALLINT,
  "RagRB" testo_10,
  "Insoluto" testo_1,
  "Manuale" testo_1,
  "CIG" testo_10,
  "CUP" testo_15,
  "ImpPagInc" NUMERIC(19,4),
  "StatoScad" testo_1,
  "NumRegPag" INTEGER,
  "AnnoPag" SMALLINT,
  "DataRegPag" DATE,
  "RigLivPag" INTEGER,
  "NumDist" INTEGER,
  "Utente" testo_60,
  "FlStato" testo_1,
  PRIMARY KEY ("Anno", "NumProg")
);

CREATE TABLE "ScadenzeApp" (
  "Anno" SMALLINT NOT NULL,
  "NumProg" INTEGER NOT NULL,
  "Tipo" SMALLINT,
  "GruppoScad" testo_2,
  "MastroScad" testo_2,
  "ContoScad" testo_6,
  "DataScad" DATE,
  "Pagamento" testo_4,
  "PagTipo" testo_4,
  "BancaCF" testo_8,
  "CCorrente" testo_30,
  "NumReg" INTEGER,
  "AnnoReg" SMALLINT,
  "Prefisso" testo_4,
  "NumDoc" testo_15,
  "DataDoc" DATE,
  "PreProt" testo_4,
  "NumProt" INTEGER,
  "DataProt" DATE,
  "Causale" testo_4,
  "Rata" SMALLINT,
  "Moneta" testo_5,
  "Cambio" DOUBLE PRECISION,
  "EntrataUscita" testo_1,
  "ImportoScad" NUMERIC(19,4),
  "ImportoScadLire" NUMERIC(19,4),
  "ImportoScadEuro" NUMERIC(19,4),
  "ImportoFatt" NUMERIC(19,4),
  "ImpPagato" SMALLINT,
  "RagRB" testo_10,
  "Insoluto" testo_1,
  "Manuale" testo_1,
  "CIG" testo_10,
  "CUP" testo_15,
  "ImpPagInc" NUMERIC(19,4),
  "StatoScad" testo_1,
  "NumRegPag" INTEGER,
  "AnnoPag" SMALLINT,
  "DataRegPag" DATE,
  "RigLivPag" INTEGER,
  "NumDist" INTEGER,
  "Utente" testo_60,
  "FlStato" testo_1,
  "FaseElab" testo_1,
  PRIMARY KEY ("Anno", "NumProg")
);

CREATE TABLE "MovPnTes" (
  "Anno" SMALLINT NOT NULL,
  "NumReg" INTEGER NOT NULL,
  "DataReg" DATE,
  "Causale" testo_4,
  "InValuta" testo_1,
  "DescrAgg" testo_60,
  "PreProt" testo_4,
  "NumProt" INTEGER,
  "DataProt" DATE,
  "PreDoc" testo_4,
  "NumDoc" testo_15,
  "DataDoc" DATE,
  "Moneta" testo_5,
  "Cambio" DOUBLE PRECISION,
  "Pagamento" testo_4,
  "Banca" testo_8,
  "RagRB" testo_10,
  "AnnoFat" SMALLINT,
  "NumRifFat" INTEGER,
  "CIG" testo_10,
  "CUP" testo_15,
  "IvaPerCassa" testo_1,
  PRIMARY KEY ("Anno", "NumReg")
);

CREATE TABLE "MovPnDett" (
  "Anno" SMALLINT NOT NULL,
  "NumReg" INTEGER NOT NULL,
  "RigReg" INTEGER NOT NULL,
  "RigLiv" INTEGER,
  "TipoPartita" testo_1,
  "GruppoPartita" testo_2,
  "MastroPartita" testo_2,
  "ContoPartita" testo_6,
  "TipoCPartita" testo_1,
  "GruppoCPartita" testo_2,
  "MastroCPartita" testo_2,
  "ContoCPartita" testo_6,
  "DareAvere" testo_1,
  "ImportoMon" NUMERIC(19,4),
  "Importo" NUMERIC(19,4),
  "ImpostaMon" NUMERIC(19,4),
  "Imposta" NUMERIC(19,4),
  "ImpostaIndetrMon" NUMERIC(19,4),
  "ImpostaIndetr" NUMERIC(19,4),
  "Iva" testo_4,
  "Forzatura" testo_1,
  "CentroDiCosto" testo_8,
  "Cambio" DOUBLE PRECISION,
  "PreDoc" testo_4,
  "NumDoc" testo_15,
  "DataDoc" DATE,
  "PreProt" testo_4,
  "NumProt" INTEGER,
  "DataProt" DATE,
  "DescrAgg" testo_60,
  "IvaPerCassa" testo_1,
  PRIMARY KEY ("Anno", "NumReg", "RigReg")
);

CREATE TABLE "MovPnIva" (
  "Anno" SMALLINT NOT NULL,
  "NumReg" INTEGER NOT NULL,
  "RigIva" INTEGER NOT NULL,
  "Iva" testo_4,
  "ImponibileMon" NUMERIC(19,4),
  "Imponibile" NUMERIC(19,4),
  "ImpostaMon" NUMERIC(19,4),
  "Imposta" NUMERIC(19,4),
  "ImpostaIndetrMon" NUMERIC(19,4),
  "ImpostaIndetr" NUMERIC(19,4),
  PRIMARY KEY ("Anno", "NumReg", "RigIva")
);

CREATE TABLE "MovPnDettApp" (
  "Anno" SMALLINT NOT NULL,
  "NumReg" INTEGER NOT NULL,
  "RigReg" INTEGER NOT NULL,
  "RigLiv" INTEGER,
  "TipoPartita" testo_1,
  "GruppoPartita" testo_2,
  "MastroPartita" testo_2,
  "ContoPartita" testo_6,
  "TipoCPartita" testo_1,
  "GruppoCPartita" testo_2,
  "MastroCPartita" testo_2,
  "ContoCPartita" testo_6,
  "DareAvere" testo_1,
  "ImportoMon" NUMERIC(19,4),
  "Importo" NUMERIC(19,4),
  "ImpostaMon" NUMERIC(19,4),
  "Imposta" NUMERIC(19,4),
  "ImpostaIndetrMon" NUMERIC(19,4),
  "ImpostaIndetr" NUMERIC(19,4),
  "Iva" testo_4,
  "Forzatura" testo_1,
  "CentroDiCosto" testo_8,
  "Cambio" DOUBLE PRECISION,
  "PreDoc" testo_4,
  "NumDoc" testo_15,
  "DataDoc" DATE,
  "PreProt" testo_4,
  "NumProt" INTEGER,
  "DataProt" DATE,
  "DescrAgg" testo_60,
  "IvaPerCassa" testo_1,
  PRIMARY KEY ("Anno", "NumReg", "RigReg")
);

CREATE TABLE "MovPnIvaApp" (
  "Anno" SMALLINT NOT NULL,
  "NumReg" INTEGER NOT NULL,
  "RigIva" INTEGER NOT NULL,
  "Iva" testo_4,
  "ImponibileMon" NUMERIC(19,4),
  "Imponibile" NUMERIC(19,4),
  "ImpostaMon" NUMERIC(19,4),
  "Imposta" NUMERIC(19,4),
  "ImpostaIndetrMon" NUMERIC(19,4),
  "ImpostaIndetr" NUMERIC(19,4),
  PRIMARY KEY ("Anno", "NumReg", "RigIva")
);

CREATE TABLE "MovPnTesFitt" (
  "Anno" SMALLINT NOT NULL,
  "NumReg" INTEGER NOT NULL,
  "DataReg" DATE,
  "Causale" testo_4,
  "InValuta" testo_1,
  "DescrAgg" testo_60,
  "PreProt" testo_4,
  "NumProt" INTEGER,
  "DataProt" DATE,
  "PreDoc" testo_4,
  "NumDoc" testo_15,
  "DataDoc" DATE,
  "Moneta" testo_5,
  "Cambio" DOUBLE PRECISION,
  "Pagamento" testo_4,
  "Banca" testo_8,
  "RagRB" testo_10,
  "AnnoFat" SMALLINT,
  "NumRifFat" INTEGER,
  "CIG" testo_10,
  "CUP" testo_15,
  "IvaPerCassa" testo_1,
  PRIMARY KEY ("Anno", "NumReg")
);

CREATE TABLE "MovPnDettFitt" (
  "Anno" SMALLINT NOT NULL,
  "NumReg" INTEGER NOT NULL,
  "RigReg" INTEGER NOT NULL,
  "RigLiv" INTEGER,
  "TipoPartita" testo_1,
  "GruppoPartita" testo_2,
  "MastroPartita" testo_2,
  "ContoPartita" testo_6,
  "TipoCPartita" testo_1,
  "GruppoCPartita" testo_2,
  "MastroCPartita" testo_2,
  "ContoCPartita" testo_6,
  "DareAvere" testo_1,
  "ImportoMon" NUMERIC(19,4),
  "Importo" NUMERIC(19,4),
  "ImpostaMon" NUMERIC(19,4),
  "Imposta" NUMERIC(19,4),
  "ImpostaIndetrMon" NUMERIC(19,4),
  "ImpostaIndetr" NUMERIC(19,4),
  "Iva" testo_4,
  "Forzatura" testo_1,
  "CentroDiCosto" testo_8,
  "Cambio" DOUBLE PRECISION,
  "PreDoc" testo_4,
  "NumDoc" testo_15,
  "DataDoc" DATE,
  "PreProt" testo_4,
  "NumProt" INTEGER,
  "DataProt" DATE,
  "DescrAgg" testo_60,
  "IvaPerCassa" testo_1,
  PRIMARY KEY ("Anno", "NumReg", "RigReg")
);

CREATE TABLE "MovPnIvaFitt" (
  "Anno" SMALLINT NOT NULL,
  "NumReg" INTEGER NOT NULL,
  "RigIva" INTEGER NOT NULL,
  "Iva" testo_4,
  "ImponibileMon" NUMERIC(19,4),
  "Imponibile" NUMERIC(19,4),
  "ImpostaMon" NUMERIC(19,4),
  "Imposta" NUMERIC(19,4),
  "ImpostaIndetrMon" NUMERIC(19,4),
  "ImpostaIndetr" NUMERIC(19,4),
  PRIMARY KEY ("Anno", "NumReg", "RigIva")
);

CREATE TABLE "MovPnTesFatt" (
  "Anno" SMALLINT NOT NULL,
  "NumReg" INTEGER NOT NULL,
  "DataReg" DATE,
  "Causale" testo_4,
  "InValuta" testo_1,
  "DescrAgg" testo_60,
  "PreProt" testo_4,
  "NumProt" INTEGER,
  "DataProt" DATE,
  "PreDoc" testo_4,
  "NumDoc" testo_15,
  "DataDoc" DATE,
  "Moneta" testo_5,
  "Cambio" DOUBLE PRECISION,
  "Pagamento" testo_4,
  "Banca" testo_8,
  "RagRB" testo_10,
  "AnnoFat" SMALLINT,
  "NumRifFat" INTEGER,
  "CIG" testo_10,
  "CUP" testo_15,
  "IvaPerCassa" testo_1,
  PRIMARY KEY ("Anno", "NumReg")
);

CREATE TABLE "MovPnDettFatt" (
  "Anno" SMALLINT NOT NULL,
  "NumReg" INTEGER NOT NULL,
  "RigReg" INTEGER NOT NULL,
  "RigLiv" INTEGER,
  "TipoPartita" testo_1,
  "GruppoPartita" testo_2,
  "MastroPartita" testo_2,
  "ContoPartita" testo_6,
  "TipoCPartita" testo_1,
  "GruppoCPartita" testo_2,
  "MastroCPartita" testo_2,
  "ContoCPartita" testo_6,
  "DareAvere" testo_1,
  "ImportoMon" NUMERIC(19,4),
  "Importo" NUMERIC(19,4),
  "ImpostaMon" NUMERIC(19,4),
  "Imposta" NUMERIC(19,4),
  "ImpostaIndetrMon" NUMERIC(19,4),
  "ImpostaIndetr" NUMERIC(19,4),
  "Iva" testo_4,
  "Forzatura" testo_1,
  "CentroDiCosto" testo_8,
  "Cambio" DOUBLE PRECISION,
  "PreDoc" testo_4,
  "NumDoc" testo_15,
  "DataDoc" DATE,
  "PreProt" testo_4,
  "NumProt" INTEGER,
  "DataProt" DATE,
  "DescrAgg" testo_60,
  "IvaPerCassa" testo_1,
  PRIMARY KEY ("Anno", "NumReg", "RigReg")
);

CREATE TABLE "MovPnIvaFatt" (
  "Anno" SMALLINT NOT NULL,
  "NumReg" INTEGER NOT NULL,
  "RigIva" INTEGER NOT NULL,
  "Iva" testo_4,
  "ImponibileMon" NUMERIC(19,4),
  "Imponibile" NUMERIC(19,4),
  "ImpostaMon" NUMERIC(19,4),
  "Imposta" NUMERIC(19,4),
  "ImpostaIndetrMon" NUMERIC(19,4),
  "ImpostaIndetr" NUMERIC(19,4),
  PRIMARY KEY ("Anno", "NumReg", "RigIva")
);

CREATE TABLE "PdcProg" (
  "Anno" SMALLINT NOT NULL,
  "PartTipo" testo_1 NOT NULL,
  "CoPartGruppo" testo_2 NOT NULL,
  "CoPartMastro" testo_2 NOT NULL,
  "CoPartConto" testo_6 NOT NULL,
  "SaldoIniziale" NUMERIC(19,4),
  "ProgrDare" NUMERIC(19,4),
  "ProgrAvere" NUMERIC(19,4),
  "UltAgg" DATE,
  PRIMARY KEY ("Anno", "PartTipo", "CoPartGruppo", "CoPartMastro", "CoPartConto")
);

CREATE TABLE "AppoggioTemp" (
  "Utente" testo_60,
  "IdProgramma" testo_30,
  "IdCampo" testo_30,
  "Valorestringa" testo_255,
  "Valorenumero" DOUBLE PRECISION,
  "Valoredata" TIMESTAMP(0),
  "Valorememo" CITEXT
);

CREATE TABLE "LockGest" (
  "Tipo" testo_2 NOT NULL,
  "Anno" SMALLINT NOT NULL,
  "NumReg" INTEGER NOT NULL,
  "Utente" testo_60,
  "Stato" testo_2,
  "Ora" TIMESTAMP(0),
  "Gestione" testo_2,
  "Varie" testo_255,
  "PadreTipo" testo_2,
  "PadreAnno" SMALLINT,
  "PadreNumReg" INTEGER,
  PRIMARY KEY ("Tipo", "Anno", "NumReg")
);

CREATE TABLE "PianoConti" (
  "Gruppo" testo_2 NOT NULL,
  "Mastro" testo_2 NOT NULL,
  "Conto" testo_6 NOT NULL,
  "Tipo" SMALLINT,
  "Descrizione" testo_60,
  "BeneServizio" testo_1,
  "Banca" testo_8,
  "CCorrente" testo_30,
  "RagRb" testo_10,
  "MeseNoEf1" SMALLINT,
  "GioMesSucc1" SMALLINT,
  "MeseNoEf2" SMALLINT,
  "GioMesSucc2" SMALLINT,
  "PartitaIva" testo_16,
  "CodFiscale" testo_16,
  "Indirizzo" testo_60,
  "Localita" testo_40,
  PRIMARY KEY ("Gruppo", "Mastro", "Conto")
);

CREATE TABLE "PagTipi" (
  "PagTipo" testo_4 NOT NULL,
  "Descrizione" testo_40,
  "EmissEffetti" testo_1,
  "RegIncAut" testo_1,
  "Causale" testo_4,
  "Gruppo" testo_2,
  "Mastro" testo_2,
  "Conto" testo_6,
  PRIMARY KEY ("PagTipo")
);

CREATE TABLE "Pagamenti" (
  "Pagamento" testo_4 NOT NULL,
  "Descrizione" testo_40,
  "PagTipo" testo_4,
  "Decorrenza" testo_1,
  "Periodicita" testo_1,
  "NumScad" SMALLINT,
  "TrattamIva" testo_1,
  "GiornoFisso" SMALLINT,
  "NumGGMM" SMALLINT,
  "ScadValuta" testo_1,
  "Periodo1" SMALLINT,
  "Periodo2" SMALLINT,
  "Periodo3" SMALLINT,
  "Periodo4" SMALLINT,
  "Periodo5" SMALLINT,
  "Periodo6" SMALLINT,
  "Periodo7" SMALLINT,
  "Periodo8" SMALLINT,
  "Periodo9" SMALLINT,
  "Periodo10" SMALLINT,
  "Periodo11" SMALLINT,
  "Periodo12" SMALLINT,
  "Percentuale1" DOUBLE PRECISION,
  "Percentuale2" DOUBLE PRECISION,
  "Percentuale3" DOUBLE PRECISION,
  "Percentuale4" DOUBLE PRECISION,
  "Percentuale5" DOUBLE PRECISION,
  "Percentuale6" DOUBLE PRECISION,
  "Percentuale7" DOUBLE PRECISION,
  "Percentuale8" DOUBLE PRECISION,
  "Percentuale9" DOUBLE PRECISION,
  "Percentuale10" DOUBLE PRECISION,
  "Percentuale11" DOUBLE PRECISION,
  "Percentuale12" DOUBLE PRECISION,
  PRIMARY KEY ("Pagamento")
);

CREATE TABLE "Monete" (
  "Moneta" testo_5 NOT NULL,
  "Descrizione" testo_40,
  "NumDec" SMALLINT,
  "NumDecGest" SMALLINT,
  "Operatore" testo_1,
  "Cee" testo_1,
  PRIMARY KEY ("Moneta")
);

CREATE TABLE "Cambi" (
  "Moneta" testo_5 NOT NULL,
  "Data" DATE NOT NULL,
  "Cambio" DOUBLE PRECISION,
  PRIMARY KEY ("Moneta", "Data")
);

CREATE TABLE "Banche" (
  "Banca" testo_8 NOT NULL,
  "Descrizione" testo_60,
  "Abi" testo_5,
  "Cab" testo_5,
  PRIMARY KEY ("Banca")
);

CREATE TABLE "Causali" (
  "Causale" testo_4 NOT NULL,
  "Descrizione" testo_40,
  "TipoCausale" testo_2,
  "TipoReg" testo_1,
  "InValuta" testo_1,
  "RegInsoluto" testo_1,
  "CausRit" testo_4,
  "IntraCee" testo_1,
  "RevCharge" testo_1,
  "ImportNoCee" testo_1,
  "CausConcatenata" testo_4,
  "PartGruppo" testo_2,
  "PartMastro" testo_2,
  "PartConto" testo_6,
  "CoPartGruppo" testo_2,
  "CoPartMastro" testo_2,
  "CoPartConto" testo_6,
  "ObbProtocollo" testo_1,
  "SplitPay" testo_1,
  "IvaGruppo" testo_2,
  PRIMARY KEY ("Causale")
);

CREATE TABLE "Tabiva" (
  "Iva" testo_4 NOT NULL,
  "Descrizione" testo_40,
  "Aliquota" DOUBLE PRECISION,
  "Indetraibile" DOUBLE PRECISION,
  "RevCharge" testo_1,
  PRIMARY KEY ("Iva")
);

CREATE TABLE "FatScadenze" (
  "Anno" SMALLINT NOT NULL,
  "NumRif" INTEGER NOT NULL,
  "Rata" SMALLINT NOT NULL,
  "DataScad" DATE,
  "Importo" NUMERIC(19,4),
  "ImportoEuro" NUMERIC(19,4),
  "PagTipo" testo_4,
  PRIMARY KEY ("Anno", "NumRif", "Rata")
);

CREATE TABLE "ArrotLire" (
  "FinoA" DOUBLE PRECISION NOT NULL,
  "ValArrot" DOUBLE PRECISION,
  "TipoArrot" testo_2,
  PRIMARY KEY ("FinoA")
);

CREATE TABLE "ArrotEuro" (
  "FinoA" DOUBLE PRECISION NOT NULL,
  "ValArrot" DOUBLE PRECISION,
  "TipoArrot" testo_2,
  PRIMARY KEY ("FinoA")
);

CREATE TABLE "CentriDiCosto" (
  "CentroDiCosto" testo_8 NOT NULL,
  "Descrizione" testo_40,
  PRIMARY KEY ("CentroDiCosto")
);

CREATE INDEX "ix_Scadenze_1" ON "Scadenze" ("Utente", "FlStato");

CREATE INDEX "ix_Scadenze_2" ON "Scadenze" ("Tipo", "GruppoScad", "MastroScad", "ContoScad");

CREATE INDEX "ix_Scadenze_3" ON "Scadenze" ("AnnoReg", "PreProt", "NumProt", "DataProt");

CREATE INDEX "ix_ScadenzeApp_1" ON "ScadenzeApp" ("Utente");

CREATE INDEX "ix_MovPnTes_1" ON "MovPnTes" ("PreDoc", "NumDoc", "DataDoc");

CREATE INDEX "ix_MovPnTes_2" ON "MovPnTes" ("AnnoFat", "NumRifFat");

CREATE INDEX "ix_MovPnDett_1" ON "MovPnDett" ("GruppoPartita", "MastroPartita", "ContoPartita");

CREATE INDEX "ix_AppoggioTemp_1" ON "AppoggioTemp" ("Utente", "IdProgramma");

CREATE INDEX "ix_LockGest_1" ON "LockGest" ("Gestione", "Anno", "NumReg");

CREATE INDEX "ix_PianoConti_1" ON "PianoConti" ("Tipo", "Descrizione");

