-- The empty project: every table, column, default and named index of a
-- project file, and the rows a new project starts with. Built at build time
-- into the template file that new projects are copied from.
--
-- Column types follow the project's logical types: Long, Integer and Byte are
-- INTEGER; Yes/No is INTEGER 0 or 1 (never null: false unless set); Date/Time
-- is REAL (days since 30 December 1899); Text(n) is TEXT(n), at most n
-- characters; Long Binary is BLOB. Automatic keys are the tables' integer row
-- keys, never reused. Named indexes are called "Table.Index"; a table's
-- PrimaryKey on its automatic key is the row key itself.

PRAGMA application_id = 1397509937;  -- 'SLK1'

CREATE TABLE Project (
  NoteId       INTEGER DEFAULT 0,
  UsrData      INTEGER DEFAULT 0,
  OnlineTime   REAL,
  PrjFilterId  INTEGER DEFAULT 0,
  Version      INTEGER DEFAULT 0,
  OptionsFlags INTEGER DEFAULT 0
);

CREATE TABLE Folders (
  FolderId INTEGER PRIMARY KEY AUTOINCREMENT,
  ParentId INTEGER DEFAULT 0,
  Name     TEXT(50)
);
CREATE INDEX "Folders.ParentId" ON Folders (ParentId);

CREATE TABLE Tasks (
  TaskId       INTEGER PRIMARY KEY AUTOINCREMENT,
  UrlId        INTEGER DEFAULT 0,
  PostId       INTEGER DEFAULT 0,
  Queued       INTEGER DEFAULT 0,
  Retrieved    INTEGER DEFAULT 0,
  Levels       INTEGER DEFAULT 0,
  State        INTEGER DEFAULT 0,
  Created      REAL,
  Done         REAL,
  AAge         REAL,
  FolderId     INTEGER DEFAULT 0,
  FilterId     INTEGER DEFAULT 0,
  NoteId       INTEGER DEFAULT 0,
  Name         TEXT(255),
  LowGraphics  INTEGER DEFAULT 0,
  UserAgentId  INTEGER DEFAULT 0,
  Error        INTEGER DEFAULT 0,
  Size         INTEGER DEFAULT 0,
  ErrCode      INTEGER DEFAULT 0,
  ContentType  TEXT(30),
  SizeFilterId INTEGER DEFAULT 0,
  MainItemId   INTEGER DEFAULT 0,
  RedirectUrl  INTEGER DEFAULT 0,
  Referer      INTEGER DEFAULT 0,
  Type         INTEGER DEFAULT 0,
  StatusCode   INTEGER DEFAULT 0,
  AutoName     INTEGER DEFAULT 0,
  ErrFiles     INTEGER DEFAULT 0
);
CREATE INDEX "Tasks.FolderId" ON Tasks (FolderId);
CREATE INDEX "Tasks.UrlId" ON Tasks (UrlId, PostId);

CREATE TABLE UrlRes (
  UrlResId      INTEGER PRIMARY KEY AUTOINCREMENT,
  UrlId         INTEGER,
  PostId        INTEGER DEFAULT 0,
  RedirectUrlId INTEGER DEFAULT 0,
  ResId         INTEGER,
  Type          INTEGER DEFAULT 0,
  LastModified  REAL,
  HttpVersion   TEXT(15),
  StatusCode    INTEGER DEFAULT 0,
  Server        TEXT(50),
  ContentType   TEXT(30),
  ContentLength INTEGER,
  TcpError      INTEGER DEFAULT 0,
  LastError     INTEGER DEFAULT 0,
  DoneTime      REAL DEFAULT 0,
  RefCount      INTEGER,
  Error         INTEGER DEFAULT 0,
  Priority      INTEGER DEFAULT 0,
  Domain        INTEGER DEFAULT 0,
  State         INTEGER DEFAULT 0,
  Url           TEXT(255) CHECK (Url <> ''),
  UrlHash       INTEGER DEFAULT 0,
  RunCount      INTEGER DEFAULT 0,
  UserAgentId   INTEGER DEFAULT 0,
  Retries       INTEGER DEFAULT 0,
  Size          INTEGER DEFAULT 0,
  Title         TEXT(255),
  Tag           INTEGER DEFAULT 0,
  MinSize       INTEGER DEFAULT 0,
  MaxSize       INTEGER DEFAULT 0,
  Referer       INTEGER DEFAULT 0
);
CREATE INDEX "UrlRes.Hash" ON UrlRes (UrlHash);
CREATE INDEX "UrlRes.ResId" ON UrlRes (ResId);
CREATE INDEX "UrlRes.StatePriority" ON UrlRes (State, Priority DESC, Domain);
CREATE INDEX "UrlRes.UrlRes" ON UrlRes (UrlId, PostId, DoneTime DESC);

CREATE TABLE Items (
  ItemId   INTEGER PRIMARY KEY AUTOINCREMENT,
  TaskId   INTEGER DEFAULT 0,
  UrlId    INTEGER DEFAULT 0,
  PostId   INTEGER DEFAULT 0,
  UrlResId INTEGER DEFAULT 0,
  Level    INTEGER DEFAULT 0,
  Created  REAL,
  Tag      INTEGER DEFAULT 0
);
CREATE INDEX "Items.TaskLevel" ON Items (TaskId, Level);
CREATE INDEX "Items.TaskUrl" ON Items (TaskId, UrlId, PostId);
CREATE INDEX "Items.UrlResId" ON Items (UrlResId);

CREATE TABLE Res (
  ResId       INTEGER PRIMARY KEY AUTOINCREMENT,
  Body        BLOB,
  Hash        INTEGER,
  Size        INTEGER,
  Type        INTEGER DEFAULT 0,
  ContentType TEXT(30) CHECK (ContentType <> ''),
  RefCount    INTEGER,
  Indexed     INTEGER DEFAULT 0
);
CREATE INDEX "Res.SizeHash" ON Res (Size, Hash);

CREATE TABLE Rel (
  ResId    INTEGER,
  UrlId    INTEGER,
  PostId   INTEGER DEFAULT 0,
  Relation INTEGER
);
CREATE INDEX "Rel.ResId" ON Rel (ResId);
CREATE INDEX "Rel.UrlId" ON Rel (UrlId, PostId);

CREATE TABLE Strings (
  StrId    INTEGER PRIMARY KEY AUTOINCREMENT,
  Type     INTEGER DEFAULT 0,
  Hash     INTEGER DEFAULT 0,
  RefCount INTEGER DEFAULT 0,
  String   TEXT(255) CHECK (String <> '')
);
CREATE INDEX "Strings.TypeHash" ON Strings (Type, Hash);

CREATE TABLE StrChunks (
  StrId  INTEGER DEFAULT 0,
  Offset INTEGER DEFAULT 0,
  Value  TEXT(50)
);
CREATE INDEX "StrChunks.ChunksStrId" ON StrChunks (StrId);
CREATE INDEX "StrChunks.StrId" ON StrChunks (StrId, Offset);

CREATE TABLE Auth (
  Realm    TEXT(50) CHECK (Realm <> ''),
  UserName TEXT(50),
  Password TEXT(50)
);
CREATE UNIQUE INDEX "Auth.PrimaryKey" ON Auth (Realm);

CREATE TABLE "Index" (
  ResId INTEGER DEFAULT 0,
  Word  TEXT(20) CHECK (Word <> ''),
  Pos   INTEGER DEFAULT 0
);

-- The search looks words up (and patterns with a fixed start) through these.
CREATE INDEX "Index.Word" ON "Index" (Word, ResId, Pos);

CREATE TABLE Title_Index (
  ResId INTEGER DEFAULT 0,
  Word  TEXT(20) CHECK (Word <> ''),
  Pos   INTEGER DEFAULT 0
);
CREATE INDEX "Title_Index.PrimaryKey" ON Title_Index (ResId);
CREATE INDEX "Title_Index.Word" ON Title_Index (Word, ResId, Pos);

CREATE TABLE NoiseWords (
  Word TEXT(10) CHECK (Word <> '')
);

INSERT INTO Project (NoteId, UsrData, OnlineTime, PrjFilterId, Version, OptionsFlags)
  VALUES (0, 0, NULL, 0, 257, 0);
INSERT INTO Folders (FolderId, ParentId, Name) VALUES (1, 0, 'Root');
INSERT INTO NoiseWords (Word) VALUES
  ('about'),
  ('after'),
  ('all'),
  ('also'),
  ('an'),
  ('and'),
  ('another'),
  ('any'),
  ('are'),
  ('as'),
  ('at'),
  ('be'),
  ('$'),
  ('because'),
  ('been'),
  ('before'),
  ('being'),
  ('between'),
  ('both'),
  ('but'),
  ('by'),
  ('came'),
  ('can'),
  ('come'),
  ('could'),
  ('did'),
  ('do'),
  ('each'),
  ('for'),
  ('from'),
  ('get'),
  ('got'),
  ('has'),
  ('had'),
  ('he'),
  ('have'),
  ('her'),
  ('here'),
  ('him'),
  ('himself'),
  ('his'),
  ('how'),
  ('if'),
  ('in'),
  ('it'),
  ('like'),
  ('make'),
  ('many'),
  ('me'),
  ('might'),
  ('more'),
  ('most'),
  ('much'),
  ('must'),
  ('my'),
  ('never'),
  ('now'),
  ('of'),
  ('on'),
  ('only'),
  ('or'),
  ('other'),
  ('our'),
  ('out'),
  ('over'),
  ('said'),
  ('same'),
  ('see'),
  ('should'),
  ('since'),
  ('some'),
  ('still'),
  ('such'),
  ('take'),
  ('than'),
  ('that'),
  ('the'),
  ('their'),
  ('them'),
  ('then'),
  ('there'),
  ('these'),
  ('they'),
  ('this'),
  ('those'),
  ('througt'),
  ('to'),
  ('too'),
  ('under'),
  ('up'),
  ('very'),
  ('was'),
  ('way'),
  ('we'),
  ('well'),
  ('where'),
  ('what'),
  ('where'),
  ('which'),
  ('while'),
  ('who'),
  ('with'),
  ('would'),
  ('you'),
  ('your'),
  ('a'),
  ('b'),
  ('c'),
  ('d'),
  ('e'),
  ('f'),
  ('g'),
  ('h'),
  ('i'),
  ('k'),
  ('l'),
  ('m'),
  ('n'),
  ('o'),
  ('p'),
  ('q'),
  ('r'),
  ('s'),
  ('t'),
  ('u'),
  ('v'),
  ('w'),
  ('x'),
  ('y'),
  ('z'),
  ('0'),
  ('1'),
  ('2'),
  ('3'),
  ('4'),
  ('5'),
  ('6'),
  ('7'),
  ('8'),
  ('9'),
  ('is');
