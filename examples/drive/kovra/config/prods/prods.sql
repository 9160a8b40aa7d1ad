-- The switch's product database, as far as the Tiquetal module reads it:
-- the tables and columns its statements name, and a few rows for the
-- sandbox drive.  `kovtool prod cria` builds config/prods/prods.db from
-- this file; the database itself is the switch's and is never shipped.

-- Card brands.  Criado_pelo_usuario is non-zero for a brand an operator made.
CREATE TABLE Bandeira (
  Id_Bandeira          INTEGER PRIMARY KEY,
  Nome                 TEXT NOT NULL,
  Criado_pelo_usuario  INTEGER NOT NULL DEFAULT 0
);

-- Product type and sub-type pairs.
CREATE TABLE Tipo_Subtipo_Prod (
  Id_TipoSubTipo  INTEGER PRIMARY KEY,
  Id_Tipo         INTEGER NOT NULL,
  Id_Subtipo      INTEGER NOT NULL DEFAULT 0,
  Descricao       TEXT
);

-- Products of a brand.
CREATE TABLE Produto (
  Id_Bandeira          INTEGER NOT NULL REFERENCES Bandeira (Id_Bandeira),
  Id_Produto           INTEGER NOT NULL,
  Id_TipoSubTipo       INTEGER NOT NULL REFERENCES Tipo_Subtipo_Prod (Id_TipoSubTipo),
  Nome                 TEXT NOT NULL,
  Criado_pelo_usuario  INTEGER NOT NULL DEFAULT 0,
  Temporario           INTEGER NOT NULL DEFAULT 0,
  PrivateLabel         INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY (Id_Bandeira, Id_Produto)
);

-- A network's own product code (three characters, "001") -> brand and product.
CREATE TABLE IF_ISSUER_COD_PROD (
  IF_Kovra     INTEGER NOT NULL,
  Issuer_rede  TEXT NOT NULL,
  Id_bandeira  INTEGER NOT NULL,
  Id_produto   INTEGER NOT NULL,
  PRIMARY KEY (IF_Kovra, Issuer_rede)
);

-- Brand and product -> the switch-wide product code (five digits).
CREATE TABLE CODPROD_SERVICO1 (
  Id_bandeira           INTEGER NOT NULL,
  id_produto            INTEGER NOT NULL,
  Cod_Produto_Servico1  INTEGER NOT NULL,
  PRIMARY KEY (Id_bandeira, id_produto)
);

-- Card ranges of brands and products: switch-wide, per network, per company.
CREATE TABLE BIN (
  Id_Bandeira   INTEGER NOT NULL,
  Id_Produto    INTEGER NOT NULL,
  Bin_inferior  TEXT NOT NULL,
  Bin_superior  TEXT NOT NULL
);
CREATE TABLE IF_BIN (
  Id_bandeira   INTEGER NOT NULL,
  Id_produto    INTEGER NOT NULL,
  Bin_inferior  TEXT NOT NULL,
  Bin_superior  TEXT NOT NULL,
  IF_Kovra      INTEGER NOT NULL
);
CREATE TABLE EMPRESA_IF_BIN (
  Id_bandeira   INTEGER NOT NULL,
  Id_produto    INTEGER NOT NULL,
  Bin_inferior  TEXT NOT NULL,
  Bin_superior  TEXT NOT NULL,
  IF_Kovra      INTEGER NOT NULL,
  Cod_Empresa   TEXT NOT NULL
);

-- Sample rows: the Tiquetal brand (54) with three of its products, and one
-- private-label fleet brand that an operator created.
INSERT INTO Bandeira VALUES (54, 'TIQUETAL', 0), (900, 'FROTA PROPRIA', 1);

INSERT INTO Tipo_Subtipo_Prod VALUES
  (1, 3, 1, 'voucher, alimentacao'),
  (2, 3, 3, 'voucher, refeicao'),
  (3, 6, 0, 'frota'),
  (4, 1, 0, 'credito');

INSERT INTO Produto VALUES
  (54, 1, 1, 'TIQUETAL ALIMENTACAO', 0, 0, 0),
  (54, 28, 2, 'TIQUETAL REFEICAO', 0, 0, 0),
  (54, 15, 3, 'TIQUETAL FROTA', 0, 0, 0),
  (900, 1, 3, 'FROTA PROPRIA', 1, 0, 1);

INSERT INTO IF_ISSUER_COD_PROD VALUES
  (77, '001', 54, 1),
  (77, '028', 54, 28),
  (77, '015', 54, 15),
  (77, '050', 900, 1);

INSERT INTO CODPROD_SERVICO1 VALUES
  (54, 1, 10011),
  (54, 28, 10055),
  (54, 15, 10080),
  (900, 1, 30001);

INSERT INTO IF_BIN VALUES (54, 1, '606282000', '606282999', 77);
