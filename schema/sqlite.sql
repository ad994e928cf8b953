-- Company database for SQLite. Generated from schema/compensato.schema by tools/schemagen.

CREATE TABLE "Scadenze" (
  "Anno" SMALLINT NOT NULL,
  "NumProg" INTEGER NOT NULL,
  "Tipo" SMALLINT,
  "GruppoScad" VARCHAR(2) COLLATE NOCASE CHECK (length("GruppoScad") <= 2),
  "MastroScad" VARCHAR(2) COLLATE NOCASE CHECK (length("MastroScad") <= 2),
  "ContoScad" VARCHAR(6) COLLATE NOCASE CHECK (length("ContoScad") <= 6),
  "DataScad" DATE,
  "Pagamento" VARCHAR(4) COLLATE NOCASE CHECK (length("Pagamento") <= 4),
  "PagTipo" VARCHAR(4) COLLATE NOCASE CHECK (length("PagTipo") <= 4),
  "BancaCF" VARCHAR(8) COLLATE NOCASE CHECK (length("BancaCF") <= 8),
  "CCorrente" VARCHAR(30) COLLATE NOCASE CHECK (length("CCorrente") <= 30),
  "NumReg" INTEGER,
  "AnnoReg" SMALLINT,
  "Prefisso" VARCHAR(4) COLLATE NOCASE CHECK (length("Prefisso") <= 4),
  "NumDoc" VARCHAR(15) COLLATE NOCASE CHECK (length("NumDoc") <= 15),
  "DataDoc" DATE,
  "PreProt" VARCHAR(4) COLLATE NOCASE CHECK (length("PreProt") <= 4),
  "NumProt" INTEGER,
  "DataProt" DATE,
  "Causale" VARCHAR(4) COLLATE NOCASE CHECK (length("Causale") <= 4),
  "Rata" SMALLINT,
  "Moneta" VARCHAR(5) COLLATE NOCASE CHECK (length("Moneta") <= 5),
  "Cambio" DOUBLE PRECISION,
  "EntrataUscita" VARCHAR(1) COLLATE NOCASE CHECK (length("EntrataUscita") <= 1),
  "ImportoScad" NUMERIC(19,4),
  "ImportoScadLire" NUMERIC(19,4),
  "ImportoScadEuro" NUMERIC(19,4),
  "ImportoFatt" NUMERIC(19,4),
  "ImpPagato" SMALLINT,
  "RagRB" VARCHAR(10) COLLATE NOCASE CHECK (length("RagRB") <= 10),
  "Insoluto" VARCHAR(1) COLLATE NOCASE CHECK (length("Insoluto") <= 1),
  "Manuale" VARCHAR(1) COLLATE NOCASE CHECK (length("Manuale") <= 1),
  "CIG" VARCHAR(10) COLLATE NOCASE CHECK (length("CIG") <= 10),
  "CUP" VARCHAR(15) COLLATE NOCASE CHECK (length("CUP") <= 15),
  "ImpPagInc" NUMERIC(19,4),
  "StatoScad" VARCHAR(1) COLLATE NOCASE CHECK (length("StatoScad") <= 1),
  "NumRegPag" INTEGER,
  "AnnoPag" SMALLINT,
  "DataRegPag" DATE,
  "RigLivPag" INTEGER,
  "NumDist" INTEGER,
  "Utente" VARCHAR(60) COLLATE NOCASE CHECK (length("Utente") <= 60),
  "FlStato" VARCHAR(1) COLLATE NOCASE CHECK (length("FlStato") <= 1),
  PRIMARY KEY ("Anno", "NumProg")
);

CREATE TABLE "ScadenzeApp" (
  "Anno" SMALLINT NOT NULL,
  "NumProg" INTEGER NOT NULL,
  "Tipo" SMALLINT,
  "GruppoScad" VARCHAR(2) COLLATE NOCASE CHECK (length("GruppoScad") <= 2),
  "MastroScad" VARCHAR(2) COLLATE NOCASE CHECK (length("MastroScad") <= 2),
  "ContoScad" VARCHAR(6) COLLATE NOCASE CHECK (length("ContoScad") <= 6),
  "DataScad" DATE,
  "Pagamento" VARCHAR(4) COLLATE NOCASE CHECK (length("Pagamento") <= 4),
  "PagTipo" VARCHAR(4) COLLATE NOCASE CHECK (length("PagTipo") <= 4),
  "BancaCF" VARCHAR(8) COLLATE NOCASE CHECK (length("BancaCF") <= 8),
  "CCorrente" VARCHAR(30) COLLATE NOCASE CHECK (length("CCorrente") <= 30),
  "NumReg" INTEGER,
  "AnnoReg" SMALLINT,
  "Prefisso" VARCHAR(4) COLLATE NOCASE CHECK (length("Prefisso") <= 4),
  "NumDoc" VARCHAR(15) COLLATE NOCASE CHECK (length("NumDoc") <= 15),
  "DataDoc" DATE,
  "PreProt" VARCHAR(4) COLLATE NOCASE CHECK (length("PreProt") <= 4),
  "NumProt" INTEGER,
  "DataProt" DATE,
  "Causale" VARCHAR(4) COLLATE NOCASE CHECK (length("Causale") <= 4),
  "Rata" SMALLINT,
  "Moneta" VARCHAR(5) COLLATE NOCASE CHECK (length("Moneta") <= 5),
  "Cambio" DOUBLE PRECISION,
  "EntrataUscita" VARCHAR(1) COLLATE NOCASE CHECK (length("EntrataUscita") <= 1),
  "ImportoScad" NUMERIC(19,4),
  "ImportoScadLire" NUMERIC(19,4),
  "ImportoScadEuro" NUMERIC(19,4),
  "ImportoFatt" NUMERIC(19,4),
  "ImpPagato" SMALLINT,
  "RagRB" VARCHAR(10) COLLATE NOCASE CHECK (length("RagRB") <= 10),
  "Insoluto" VARCHAR(1) COLLATE NOCASE CHECK (length("Insoluto") <= 1),
  "Manuale" VARCHAR(1) COLLATE NOCASE CHECK (length("Manuale") <= 1),
  "CIG" VARCHAR(10) COLLATE NOCASE CHECK (length("CIG") <= 10),
  "CUP" VARCHAR(15) COLLATE NOCASE CHECK (length("CUP") <= 15),
  "ImpPagInc" NUMERIC(19,4),
  "StatoScad" VARCHAR(1) COLLATE NOCASE CHECK (length("StatoScad") <= 1),
  "NumRegPag" INTEGER,
  "AnnoPag" SMALLINT,
  "DataRegPag" DATE,
  "RigLivPag" INTEGER,
  "NumDist" INTEGER,
  "Utente" VARCHAR(60) COLLATE NOCASE CHECK (length("Utente") <= 60),
  "FlStato" VARCHAR(1) COLLATE NOCASE CHECK (length("FlStato") <= 1),
  "FaseElab" VARCHAR(1) COLLATE NOCASE CHECK (length("FaseElab") <= 1),
  PRIMARY KEY ("Anno", "NumProg")
);

CREATE TABLE "MovPnTes" (
  "Anno" SMALLINT NOT NULL,
  "NumReg" INTEGER NOT NULL,
  "DataReg" DATE,
  "Causale" VARCHAR(4) COLLATE NOCASE CHECK (length("Causale") <= 4),
  "InValuta" VARCHAR(1) COLLATE NOCASE CHECK (length("InValuta") <= 1),
  "DescrAgg" VARCHAR(60) COLLATE NOCASE CHECK (length("DescrAgg") <= 60),
  "PreProt" VARCHAR(4) COLLATE NOCASE CHECK (length("PreProt") <= 4),
  "NumProt" INTEGER,
  "DataProt" DATE,
  "PreDoc" VARCHAR(4) COLLATE NOCASE CHECK (length("PreDoc") <= 4),
  "NumDoc" VARCHAR(15) COLLATE NOCASE CHECK (length("NumDoc") <= 15),
  "DataDoc" DATE,
  "Moneta" VARCHAR(5) COLLATE NOCASE CHECK (length("Moneta") <= 5),
  "Cambio" DOUBLE PRECISION,
  "Pagamento" VARCHAR(4) COLLATE NOCASE CHECK (length("Pagamento") <= 4),
  "Banca" VARCHAR(8) COLLATE NOCASE CHECK (length("Banca") <= 8),
  "RagRB" VARCHAR(10) COLLATE NOCASE CHECK (length("RagRB") <= 10),
  "AnnoFat" SMALLINT,
  "NumRifFat" INTEGER,
  "CIG" VARCHAR(10) COLLATE NOCASE CHECK (length("CIG") <= 10),
  "CUP" VARCHAR(15) COLLATE NOCASE CHECK (length("CUP") <= 15),
  "IvaPerCassa" VARCHAR(1) COLLATE NOCASE CHECK (length("IvaPerCassa") <= 1),
  PRIMARY KEY ("Anno", "NumReg")
);

CREATE TABLE "MovPnDett" (
  "Anno" SMALLINT NOT NULL,
  "NumReg" INTEGER NOT NULL,
  "RigReg" INTEGER NOT NULL,
  "RigLiv" INTEGER,
  "TipoPartita" VARCHAR(1) COLLATE NOCASE CHECK (length("TipoPartita") <= 1),
  "GruppoPartita" VARCHAR(2) COLLATE NOCASE CHECK (length("GruppoPartita") <= 2),
  "MastroPartita" VARCHAR(2) COLLATE NOCASE CHECK (length("MastroPartita") <= 2),
  "ContoPartita" VARCHAR(6) COLLATE NOCASE CHECK (length("ContoPartita") <= 6),
  "TipoCPartita" VARCHAR(1) COLLATE NOCASE CHECK (length("TipoCPartita") <= 1),
  "GruppoCPartita" VARCHAR(2) COLLATE NOCASE CHECK (length("GruppoCPartita") <= 2),
  "MastroCPartita" VARCHAR(2) COLLATE NOCASE CHECK (length("MastroCPartita") <= 2),
  "ContoCPartita" VARCHAR(6) COLLATE NOCASE CHECK (length("ContoCPartita") <= 6),
  "DareAvere" VARCHAR(1) COLLATE NOCASE CHECK (length("DareAvere") <= 1),
  "ImportoMon" NUMERIC(19,4),
  "Importo" NUMERIC(19,4),
  "ImpostaMon" NUMERIC(19,4),
  "Imposta" NUMERIC(19,4),
  "ImpostaIndetrMon" NUMERIC(19,4),
  "ImpostaIndetr" NUMERIC(19,4),
  "Iva" VARCHAR(4) COLLATE NOCASE CHECK (length("Iva") <= 4),
  "Forzatura" VARCHAR(1) COLLATE NOCASE CHECK (length("Forzatura") <= 1),
  "CentroDiCosto" VARCHAR(8) COLLATE NOCASE CHECK (length("CentroDiCosto") <= 8),
  "Cambio" DOUBLE PRECISION,
  "PreDoc" VARCHAR(4) COLLATE NOCASE CHECK (length("PreDoc") <= 4),
  "NumDoc" VARCHAR(15) COLLATE NOCASE CHECK (length("NumDoc") <= 15),
  "DataDoc" DATE,
  "PreProt" VARCHAR(4) COLLATE NOCASE CHECK (length("PreProt") <= 4),
  "NumProt" INTEGER,
  "DataProt" DATE,
  "DescrAgg" VARCHAR(60) COLLATE NOCASE CHECK (length("DescrAgg") <= 60),
  "IvaPerCassa" VARCHAR(1) COLLATE NOCASE CHECK (length("IvaPerCassa") <= 1),
  PRIMARY KEY ("Anno", "NumReg", "RigReg")
);

CREATE TABLE "MovPnIva" (
  "Anno" SMALLINT NOT NULL,
  "NumReg" INTEGER NOT NULL,
  "RigIva" INTEGER NOT NULL,
  "Iva" VARCHAR(4) COLLATE NOCASE CHECK (length("Iva") <= 4),
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
  "TipoPartita" VARCHAR(1) COLLATE NOCASE CHECK (length("TipoPartita") <= 1),
  "GruppoPartita" VARCHAR(2) COLLATE NOCASE CHECK (length("GruppoPartita") <= 2),
  "MastroPartita" VARCHAR(2) COLLATE NOCASE CHECK (length("MastroPartita") <= 2),
  "ContoPartita" VARCHAR(6) COLLATE NOCASE CHECK (length("ContoPartita") <= 6),
  "TipoCPartita" VARCHAR(1) COLLATE NOCASE CHECK (length("TipoCPartita") <= 1),
  "GruppoCPartita" VARCHAR(2) COLLATE NOCASE CHECK (length("GruppoCPartita") <= 2),
  "MastroCPartita" VARCHAR(2) COLLATE NOCASE CHECK (length("MastroCPartita") <= 2),
  "ContoCPartita" VARCHAR(6) COLLATE NOCASE CHECK (length("ContoCPartita") <= 6),
  "DareAvere" VARCHAR(1) COLLATE NOCASE CHECK (length("DareAvere") <= 1),
  "ImportoMon" NUMERIC(19,4),
  "Importo" NUMERIC(19,4),
  "ImpostaMon" NUMERIC(19,4),
  "Imposta" NUMERIC(19,4),
  "ImpostaIndetrMon" NUMERIC(19,4),
  "ImpostaIndetr" NUMERIC(19,4),
  "Iva" VARCHAR(4) COLLATE NOCASE CHECK (length("Iva") <= 4),
  "Forzatura" VARCHAR(1) COLLATE NOCASE CHECK (length("Forzatura") <= 1),
  "CentroDiCosto" VARCHAR(8) COLLATE NOCASE CHECK (length("CentroDiCosto") <= 8),
  "Cambio" DOUBLE PRECISION,
  "PreDoc" VARCHAR(4) COLLATE NOCASE CHECK (length("PreDoc") <= 4),
  "NumDoc" VARCHAR(15) COLLATE NOCASE CHECK (length("NumDoc") <= 15),
  "DataDoc" DATE,
  "PreProt" VARCHAR(4) COLLATE NOCASE CHECK (length("PreProt") <= 4),
  "NumProt" INTEGER,
  "DataProt" DATE,
  "DescrAgg" VARCHAR(60) COLLATE NOCASE CHECK (length("DescrAgg") <= 60),
  "IvaPerCassa" VARCHAR(1) COLLATE NOCASE CHECK (length("IvaPerCassa") <= 1),
  PRIMARY KEY ("Anno", "NumReg", "RigReg")
);

CREATE TABLE "MovPnIvaApp" (
  "Anno" SMALLINT NOT NULL,
  "NumReg" INTEGER NOT NULL,
  "RigIva" INTEGER NOT NULL,
  "Iva" VARCHAR(4) COLLATE NOCASE CHECK (length("Iva") <= 4),
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
  "Causale" VARCHAR(4) COLLATE NOCASE CHECK (length("Causale") <= 4),
  "InValuta" VARCHAR(1) COLLATE NOCASE CHECK (length("InValuta") <= 1),
  "DescrAgg" VARCHAR(60) COLLATE NOCASE CHECK (length("DescrAgg") <= 60),
  "PreProt" VARCHAR(4) COLLATE NOCASE CHECK (length("PreProt") <= 4),
  "NumProt" INTEGER,
  "DataProt" DATE,
  "PreDoc" VARCHAR(4) COLLATE NOCASE CHECK (length("PreDoc") <= 4),
  "NumDoc" VARCHAR(15) COLLATE NOCASE CHECK (length("NumDoc") <= 15),
  "DataDoc" DATE,
  "Moneta" VARCHAR(5) COLLATE NOCASE CHECK (length("Moneta") <= 5),
  "Cambio" DOUBLE PRECISION,
  "Pagamento" VARCHAR(4) COLLATE NOCASE CHECK (length("Pagamento") <= 4),
  "Banca" VARCHAR(8) COLLATE NOCASE CHECK (length("Banca") <= 8),
  "RagRB" VARCHAR(10) COLLATE NOCASE CHECK (length("RagRB") <= 10),
  "AnnoFat" SMALLINT,
  "NumRifFat" INTEGER,
  "CIG" VARCHAR(10) COLLATE NOCASE CHECK (length("CIG") <= 10),
  "CUP" VARCHAR(15) COLLATE NOCASE CHECK (length("CUP") <= 15),
  "IvaPerCassa" VARCHAR(1) COLLATE NOCASE CHECK (length("IvaPerCassa") <= 1),
  PRIMARY KEY ("Anno", "NumReg")
);

CREATE TABLE "MovPnDettFitt" (
  "Anno" SMALLINT NOT NULL,
  "NumReg" INTEGER NOT NULL,
  "RigReg" INTEGER NOT NULL,
  "RigLiv" INTEGER,
  "TipoPartita" VARCHAR(1) COLLATE NOCASE CHECK (length("TipoPartita") <= 1),
  "GruppoPartita" VARCHAR(2) COLLATE NOCASE CHECK (length("GruppoPartita") <= 2),
  "MastroPartita" VARCHAR(2) COLLATE NOCASE CHECK (length("MastroPartita") <= 2),
  "ContoPartita" VARCHAR(6) COLLATE NOCASE CHECK (length("ContoPartita") <= 6),
  "TipoCPartita" VARCHAR(1) COLLATE NOCASE CHECK (length("TipoCPartita") <= 1),
  "GruppoCPartita" VARCHAR(2) COLLATE NOCASE CHECK (length("GruppoCPartita") <= 2),
  "MastroCPartita" VARCHAR(2) COLLATE NOCASE CHECK (length("MastroCPartita") <= 2),
  "ContoCPartita" VARCHAR(6) COLLATE NOCASE CHECK (length("ContoCPartita") <= 6),
  "DareAvere" VARCHAR(1) COLLATE NOCASE CHECK (length("DareAvere") <= 1),
  "ImportoMon" NUMERIC(19,4),
  "Importo" NUMERIC(19,4),
  "ImpostaMon" NUMERIC(19,4),
  "Imposta" NUMERIC(19,4),
  "ImpostaIndetrMon" NUMERIC(19,4),
  "ImpostaIndetr" NUMERIC(19,4),
  "Iva" VARCHAR(4) COLLATE NOCASE CHECK (length("Iva") <= 4),
  "Forzatura" VARCHAR(1) COLLATE NOCASE CHECK (length("Forzatura") <= 1),
  "CentroDiCosto" VARCHAR(8) COLLATE NOCASE CHECK (length("CentroDiCosto") <= 8),
  "Cambio" DOUBLE PRECISION,
  "PreDoc" VARCHAR(4) COLLATE NOCASE CHECK (length("PreDoc") <= 4),
  "NumDoc" VARCHAR(15) COLLATE NOCASE CHECK (length("NumDoc") <= 15),
  "DataDoc" DATE,
  "PreProt" VARCHAR(4) COLLATE NOCASE CHECK (length("PreProt") <= 4),
  "NumProt" INTEGER,
  "DataProt" DATE,
  "DescrAgg" VARCHAR(60) COLLATE NOCASE CHECK (length("DescrAgg") <= 60),
  "IvaPerCassa" VARCHAR(1) COLLATE NOCASE CHECK (length("IvaPerCassa") <= 1),
  PRIMARY KEY ("Anno", "NumReg", "RigReg")
);

CREATE TABLE "MovPnIvaFitt" (
  "Anno" SMALLINT NOT NULL,
  "NumReg" INTEGER NOT NULL,
  "RigIva" INTEGER NOT NULL,
  "Iva" VARCHAR(4) COLLATE NOCASE CHECK (length("Iva") <= 4),
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
  "Causale" VARCHAR(4) COLLATE NOCASE CHECK (length("Causale") <= 4),
  "InValuta" VARCHAR(1) COLLATE NOCASE CHECK (length("InValuta") <= 1),
  "DescrAgg" VARCHAR(60) COLLATE NOCASE CHECK (length("DescrAgg") <= 60),
  "PreProt" VARCHAR(4) COLLATE NOCASE CHECK (length("PreProt") <= 4),
  "NumProt" INTEGER,
  "DataProt" DATE,
  "PreDoc" VARCHAR(4) COLLATE NOCASE CHECK (length("PreDoc") <= 4),
  "NumDoc" VARCHAR(15) COLLATE NOCASE CHECK (length("NumDoc") <= 15),
  "DataDoc" DATE,
  "Moneta" VARCHAR(5) COLLATE NOCASE CHECK (length("Moneta") <= 5),
  "Cambio" DOUBLE PRECISION,
  "Pagamento" VARCHAR(4) COLLATE NOCASE CHECK (length("Pagamento") <= 4),
  "Banca" VARCHAR(8) COLLATE NOCASE CHECK (length("Banca") <= 8),
  "RagRB" VARCHAR(10) COLLATE NOCASE CHECK (length("RagRB") <= 10),
  "AnnoFat" SMALLINT,
  "NumRifFat" INTEGER,
  "CIG" VARCHAR(10) COLLATE NOCASE CHECK (length("CIG") <= 10),
  "CUP" VARCHAR(15) COLLATE NOCASE CHECK (length("CUP") <= 15),
  "IvaPerCassa" VARCHAR(1) COLLATE NOCASE CHECK (length("IvaPerCassa") <= 1),
  PRIMARY KEY ("Anno", "NumReg")
);

CREATE TABLE "MovPnDettFatt" (
  "Anno" SMALLINT NOT NULL,
  "NumReg" INTEGER NOT NULL,
  "RigReg" INTEGER NOT NULL,
  "RigLiv" INTEGER,
  "TipoPartita" VARCHAR(1) COLLATE NOCASE CHECK (length("TipoPartita") <= 1),
  "GruppoPartita" VARCHAR(2) COLLATE NOCASE CHECK (length("GruppoPartita") <= 2),
  "MastroPartita" VARCHAR(2) COLLATE NOCASE CHECK (length("MastroPartita") <= 2),
  "ContoPartita" VARCHAR(6) COLLATE NOCASE CHECK (length("ContoPartita") <= 6),
  "TipoCPartita" VARCHAR(1) COLLATE NOCASE CHECK (length("TipoCPartita") <= 1),
  "GruppoCPartita" VARCHAR(2) COLLATE NOCASE CHECK (length("GruppoCPartita") <= 2),
  "MastroCPartita" VARCHAR(2) COLLATE NOCASE CHECK (length("MastroCPartita") <= 2),
  "ContoCPartita" VARCHAR(6) COLLATE NOCASE CHECK (length("ContoCPartita") <= 6),
  "DareAvere" VARCHAR(1) COLLATE NOCASE CHECK (length("DareAvere") <= 1),
  "ImportoMon" NUMERIC(19,4),
  "Importo" NUMERIC(19,4),
  "ImpostaMon" NUMERIC(19,4),
  "Imposta" NUMERIC(19,4),
  "ImpostaIndetrMon" NUMERIC(19,4),
  "ImpostaIndetr" NUMERIC(19,4),
  "Iva" VARCHAR(4) COLLATE NOCASE CHECK (length("Iva") <= 4),
  "Forzatura" VARCHAR(1) COLLATE NOCASE CHECK (length("Forzatura") <= 1),
  "CentroDiCosto" VARCHAR(8) COLLATE NOCASE CHECK (length("CentroDiCosto") <= 8),
  "Cambio" DOUBLE PRECISION,
  "PreDoc" VARCHAR(4) COLLATE NOCASE CHECK (length("PreDoc") <= 4),
  "NumDoc" VARCHAR(15) COLLATE NOCASE CHECK (length("NumDoc") <= 15),
  "DataDoc" DATE,
  "PreProt" VARCHAR(4) COLLATE NOCASE CHECK (length("PreProt") <= 4),
  "NumProt" INTEGER,
  "DataProt" DATE,
  "DescrAgg" VARCHAR(60) COLLATE NOCASE CHECK (length("DescrAgg") <= 60),
  "IvaPerCassa" VARCHAR(1) COLLATE NOCASE CHECK (length("IvaPerCassa") <= 1),
  PRIMARY KEY ("Anno", "NumReg", "RigReg")
);

CREATE TABLE "MovPnIvaFatt" (
  "Anno" SMALLINT NOT NULL,
  "NumReg" INTEGER NOT NULL,
  "RigIva" INTEGER NOT NULL,
  "Iva" VARCHAR(4) COLLATE NOCASE CHECK (length("Iva") <= 4),
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
  "PartTipo" VARCHAR(1) COLLATE NOCASE CHECK (length("PartTipo") <= 1) NOT NULL,
  "CoPartGruppo" VARCHAR(2) COLLATE NOCASE CHECK (length("CoPartGruppo") <= 2) NOT NULL,
  "CoPartMastro" VARCHAR(2) COLLATE NOCASE CHECK (length("CoPartMastro") <= 2) NOT NULL,
  "CoPartConto" VARCHAR(6) COLLATE NOCASE CHECK (length("CoPartConto") <= 6) NOT NULL,
  "SaldoIniziale" NUMERIC(19,4),
  "ProgrDare" NUMERIC(19,4),
  "ProgrAvere" NUMERIC(19,4),
  "UltAgg" DATE,
  PRIMARY KEY ("Anno", "PartTipo", "CoPartGruppo", "CoPartMastro", "CoPartConto")
);

CREATE TABLE "AppoggioTemp" (
  "Utente" VARCHAR(60) COLLATE NOCASE CHECK (length("Utente") <= 60),
  "IdProgramma" VARCHAR(30) COLLATE NOCASE CHECK (length("IdProgramma") <= 30),
  "IdCampo" VARCHAR(30) COLLATE NOCASE CHECK (length("IdCampo") <= 30),
  "Valorestringa" VARCHAR(255) COLLATE NOCASE CHECK (length("Valorestringa") <= 255),
  "Valorenumero" DOUBLE PRECISION,
  "Valoredata" DATETIME,
  "Valorememo" TEXT COLLATE NOCASE
);

CREATE TABLE "LockGest" (
  "Tipo" VARCHAR(2) COLLATE NOCASE CHECK (length("Tipo") <= 2) NOT NULL,
  "Anno" SMALLINT NOT NULL,
  "NumReg" INTEGER NOT NULL,
  "Utente" VARCHAR(60) COLLATE NOCASE CHECK (length("Utente") <= 60),
  "Stato" VARCHAR(2) COLLATE NOCASE CHECK (length("Stato") <= 2),
  "Ora" DATETIME,
  "Gestione" VARCHAR(2) COLLATE NOCASE CHECK (length("Gestione") <= 2),
  "Varie" VARCHAR(255) COLLATE NOCASE CHECK (length("Varie") <= 255),
  "PadreTipo" VARCHAR(2) COLLATE NOCASE CHECK (length("PadreTipo") <= 2),
  "PadreAnno" SMALLINT,
  "PadreNumReg" INTEGER,
  PRIMARY KEY ("Tipo", "Anno", "NumReg")
);

CREATE TABLE "PianoConti" (
  "Gruppo" VARCHAR(2) COLLATE NOCASE CHECK (length("Gruppo") <= 2) NOT NULL,
  "Mastro" VARCHAR(2) COLLATE NOCASE CHECK (length("Mastro") <= 2) NOT NULL,
  "Conto" VARCHAR(6) COLLATE NOCASE CHECK (length("Conto") <= 6) NOT NULL,
  "Tipo" SMALLINT,
  "Descrizione" VARCHAR(60) COLLATE NOCASE CHECK (length("Descrizione") <= 60),
  "BeneServizio" VARCHAR(1) COLLATE NOCASE CHECK (length("BeneServizio") <= 1),
  "Banca" VARCHAR(8) COLLATE NOCASE CHECK (length("Banca") <= 8),
  "CCorrente" VARCHAR(30) COLLATE NOCASE CHECK (length("CCorrente") <= 30),
  "RagRb" VARCHAR(10) COLLATE NOCASE CHECK (length("RagRb") <= 10),
  "MeseNoEf1" SMALLINT,
  "GioMesSucc1" SMALLINT,
  "MeseNoEf2" SMALLINT,
  "GioMesSucc2" SMALLINT,
  "PartitaIva" VARCHAR(16) COLLATE NOCASE CHECK (length("PartitaIva") <= 16),
  "CodFiscale" VARCHAR(16) COLLATE NOCASE CHECK (length("CodFiscale") <= 16),
  "Indirizzo" VARCHAR(60) COLLATE NOCASE CHECK (length("Indirizzo") <= 60),
  "Localita" VARCHAR(40) COLLATE NOCASE CHECK (length("Localita") <= 40),
  PRIMARY KEY ("Gruppo", "Mastro", "Conto")
);

CREATE TABLE "PagTipi" (
  "PagTipo" VARCHAR(4) COLLATE NOCASE CHECK (length("PagTipo") <= 4) NOT NULL,
  "Descrizione" VARCHAR(40) COLLATE NOCASE CHECK (length("Descrizione") <= 40),
  "EmissEffetti" VARCHAR(1) COLLATE NOCASE CHECK (length("EmissEffetti") <= 1),
  "RegIncAut" VARCHAR(1) COLLATE NOCASE CHECK (length("RegIncAut") <= 1),
  "Causale" VARCHAR(4) COLLATE NOCASE CHECK (length("Causale") <= 4),
  "Gruppo" VARCHAR(2) COLLATE NOCASE CHECK (length("Gruppo") <= 2),
  "Mastro" VARCHAR(2) COLLATE NOCASE CHECK (length("Mastro") <= 2),
  "Conto" VARCHAR(6) COLLATE NOCASE CHECK (length("Conto") <= 6),
  PRIMARY KEY ("PagTipo")
);

CREATE TABLE "Pagamenti" (
  "Pagamento" VARCHAR(4) COLLATE NOCASE CHECK (length("Pagamento") <= 4) NOT NULL,
  "Descrizione" VARCHAR(40) COLLATE NOCASE CHECK (length("Descrizione") <= 40),
  "PagTipo" VARCHAR(4) COLLATE NOCASE CHECK (length("PagTipo") <= 4),
  "Decorrenza" VARCHAR(1) COLLATE NOCASE CHECK (length("Decorrenza") <= 1),
  "Periodicita" VARCHAR(1) COLLATE NOCASE CHECK (length("Periodicita") <= 1),
  "NumScad" SMALLINT,
  "TrattamIva" VARCHAR(1) COLLATE NOCASE CHECK (length("TrattamIva") <= 1),
  "GiornoFisso" SMALLINT,
  "NumGGMM" SMALLINT,
  "ScadValuta" VARCHAR(1) COLLATE NOCASE CHECK (length("ScadValuta") <= 1),
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
  "Moneta" VARCHAR(5) COLLATE NOCASE CHECK (length("Moneta") <= 5) NOT NULL,
  "Descrizione" VARCHAR(40) COLLATE NOCASE CHECK (length("Descrizione") <= 40),
  "NumDec" SMALLINT,
  "NumDecGest" SMALLINT,
  "Operatore" VARCHAR(1) COLLATE NOCASE CHECK (length("Operatore") <= 1),
  "Cee" VARCHAR(1) COLLATE NOCASE CHECK (length("Cee") <= 1),
  PRIMARY KEY ("Moneta")
);

CREATE TABLE "Cambi" (
  "Moneta" VARCHAR(5) COLLATE NOCASE CHECK (length("Moneta") <= 5) NOT NULL,
  "Data" DATE NOT NULL,
  "Cambio" DOUBLE PRECISION,
  PRIMARY KEY ("Moneta", "Data")
);

CREATE TABLE "Banche" (
  "Banca" VARCHAR(8) COLLATE NOCASE CHECK (length("Banca") <= 8) NOT NULL,
  "Descrizione" VARCHAR(60) COLLATE NOCASE CHECK (length("Descrizione") <= 60),
  "Abi" VARCHAR(5) COLLATE NOCASE CHECK (length("Abi") <= 5),
  "Cab" VARCHAR(5) COLLATE NOCASE CHECK (length("Cab") <= 5),
  PRIMARY KEY ("Banca")
);

CREATE TABLE "Causali" (
  "Causale" VARCHAR(4) COLLATE NOCASE CHECK (length("Causale") <= 4) NOT NULL,
  "Descrizione" VARCHAR(40) COLLATE NOCASE CHECK (length("Descrizione") <= 40),
  "TipoCausale" VARCHAR(2) COLLATE NOCASE CHECK (length("TipoCausale") <= 2),
  "TipoReg" VARCHAR(1) COLLATE NOCASE CHECK (length("TipoReg") <= 1),
  "InValuta" VARCHAR(1) COLLATE NOCASE CHECK (length("InValuta") <= 1),
  "RegInsoluto" VARCHAR(1) COLLATE NOCASE CHECK (length("RegInsoluto") <= 1),
  "CausRit" VARCHAR(4) COLLATE NOCASE CHECK (length("CausRit") <= 4),
  "IntraCee" VARCHAR(1) COLLATE NOCASE CHECK (length("IntraCee") <= 1),
  "RevCharge" VARCHAR(1) COLLATE NOCASE CHECK (length("RevCharge") <= 1),
  "ImportNoCee" VARCHAR(1) COLLATE NOCASE CHECK (length("ImportNoCee") <= 1),
  "CausConcatenata" VARCHAR(4) COLLATE NOCASE CHECK (length("CausConcatenata") <= 4),
  "PartGruppo" VARCHAR(2) COLLATE NOCASE CHECK (length("PartGruppo") <= 2),
  "PartMastro" VARCHAR(2) COLLATE NOCASE CHECK (length("PartMastro") <= 2),
  "PartConto" VARCHAR(6) COLLATE NOCASE CHECK (length("PartConto") <= 6),
  "CoPartGruppo" VARCHAR(2) COLLATE NOCASE CHECK (length("CoPartGruppo") <= 2),
  "CoPartMastro" VARCHAR(2) COLLATE NOCASE CHECK (length("CoPartMastro") <= 2),
  "CoPartConto" VARCHAR(6) COLLATE NOCASE CHECK (length("CoPartConto") <= 6),
  "ObbProtocollo" VARCHAR(1) COLLATE NOCASE CHECK (length("ObbProtocollo") <= 1),
  "SplitPay" VARCHAR(1) COLLATE NOCASE CHECK (length("SplitPay") <= 1),
  "IvaGruppo" VARCHAR(2) COLLATE NOCASE CHECK (length("IvaGruppo") <= 2),
  PRIMARY KEY ("Causale")
);

CREATE TABLE "Tabiva" (
  "Iva" VARCHAR(4) COLLATE NOCASE CHECK (length("Iva") <= 4) NOT NULL,
  "Descrizione" VARCHAR(40) COLLATE NOCASE CHECK (length("Descrizione") <= 40),
  "Aliquota" DOUBLE PRECISION,
  "Indetraibile" DOUBLE PRECISION,
  "RevCharge" VARCHAR(1) COLLATE NOCASE CHECK (length("RevCharge") <= 1),
  PRIMARY KEY ("Iva")
);

CREATE TABLE "FatScadenze" (
  "Anno" SMALLINT NOT NULL,
  "NumRif" INTEGER NOT NULL,
  "Rata" SMALLINT NOT NULL,
  "DataScad" DATE,
  "Importo" NUMERIC(19,4),
  "ImportoEuro" NUMERIC(19,4),
  "PagTipo" VARCHAR(4) COLLATE NOCASE CHECK (length("PagTipo") <= 4),
  PRIMARY KEY ("Anno", "NumRif", "Rata")
);

CREATE TABLE "ArrotLire" (
  "FinoA" DOUBLE PRECISION NOT NULL,
  "ValArrot" DOUBLE PRECISION,
  "TipoArrot" VARCHAR(2) COLLATE NOCASE CHECK (length("TipoArrot") <= 2),
  PRIMARY KEY ("FinoA")
);

CREATE TABLE "ArrotEuro" (
  "FinoA" DOUBLE PRECISION NOT NULL,
  "ValArrot" DOUBLE PRECISION,
  "TipoArrot" VARCHAR(2) COLLATE NOCASE CHECK (length("TipoArrot") <= 2),
  PRIMARY KEY ("FinoA")
);

CREATE TABLE "CentriDiCosto" (
  "CentroDiCosto" VARCHAR(8) COLLATE NOCASE CHECK (length("CentroDiCosto") <= 8) NOT NULL,
  "Descrizione" VARCHAR(40) COLLATE NOCASE CHECK (length("Descrizione") <= 40),
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

