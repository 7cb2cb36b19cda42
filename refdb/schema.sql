-- The reference database: the 1999 code tables the calculators read, and three work tables the
-- panels write. Rows come from refdb/data/<table>.csv, in file order; the tables are read in that
-- stored order, so the order of the CSV rows matters (smallest conductor first, and so on).
-- Column names are the program's own, "Guage" spelling included.

-- Insulation types per conductor material, with the temperature column (60, 75 or 90 C) they use.
CREATE TABLE Copper (Type TEXT NOT NULL, Rate INTEGER NOT NULL);
CREATE TABLE Aluminum (Type TEXT NOT NULL, Rate INTEGER NOT NULL);

-- Ambient temperature correction factors by range of degrees C (inclusive); empty where a
-- conductor may not be used at that ambient.
CREATE TABLE Correc1 (DegST INTEGER NOT NULL, DegED INTEGER NOT NULL,
                      Cop60 REAL, Cop75 REAL, Cop90 REAL, Alu60 REAL, Alu75 REAL, Alu90 REAL);

-- Adjustment factors for more than three current-carrying conductors (0.8 = 80 %).
CREATE TABLE Correc2 (CondFrm INTEGER NOT NULL, CondTo INTEGER NOT NULL, Percent REAL NOT NULL);

-- Allowable ampacities, smallest size first; "*" marks the small-conductor sizes.
CREATE TABLE AWG (Guage TEXT NOT NULL,
                  Cop60 INTEGER, Cop75 INTEGER, Cop90 INTEGER,
                  Alu60 INTEGER, Alu75 INTEGER, Alu90 INTEGER);

-- Standard fuse and breaker ratings, ascending.
CREATE TABLE FuseSize (Fuse INTEGER NOT NULL);

-- Equipment grounding conductor by the rating of the device ahead of it, ascending.
CREATE TABLE GndWire (OCP INTEGER NOT NULL, Cop TEXT NOT NULL, Alu TEXT NOT NULL);

-- Conductor dimensions: each insulation type lists its dimension rows (Dim) smallest gauge first;
-- each dimension row gives one gauge's diameter and area in square inches.
CREATE TABLE WireType (Type TEXT NOT NULL, Dim TEXT NOT NULL);
CREATE TABLE WireDim (Dim TEXT NOT NULL, Gauge TEXT NOT NULL, Diameter REAL NOT NULL,
                      Area REAL NOT NULL);
CREATE VIEW WireArea_Q AS
    SELECT WireType.Type AS Type, WireDim.Gauge AS Gauge, WireDim.Area AS Area
    FROM WireType JOIN WireDim ON WireDim.Dim = WireType.Dim
    ORDER BY WireType.rowid;

-- Conduit types in the order the type dialog lists them; the nipple's abbreviation keeps its "*".
CREATE TABLE ConType (PipeName TEXT NOT NULL, Abbr TEXT NOT NULL);

-- Conduit trade sizes per type, ascending: total area and the allowed fill for one conductor,
-- two conductors and more than two, in square inches.
CREATE TABLE ConData (Abbr TEXT NOT NULL, Size TEXT NOT NULL, Area REAL NOT NULL,
                      Fill1 REAL NOT NULL, Fill2 REAL NOT NULL, FillOver2 REAL NOT NULL);
CREATE VIEW ConData_Q AS
    SELECT Abbr, Size, Fill1 AS "1wire", Fill2 AS "2wires", FillOver2 AS "2+wires"
    FROM ConData
    ORDER BY rowid;

-- Motor starter sizes, smallest first: the largest full-load amperes each size takes at 200, 230
-- and 460 volts; empty where the size has no rating.
CREATE TABLE Starter (Size TEXT NOT NULL, "200" REAL, "230" REAL, "460" REAL);

-- Conductor properties (Chapter 9, Table 8), smallest size first: 18 to 8 AWG twice, solid
-- (strands 1) then stranded, larger sizes stranded only. DC resistance at 75 C in ohms per 1000 ft.
CREATE TABLE Ch9Table8 (size TEXT NOT NULL, circular_mils INTEGER NOT NULL,
                        strands INTEGER NOT NULL, strand_diam_in REAL, overall_diam_in REAL NOT NULL,
                        overall_area_in2 REAL NOT NULL, r_dc_cu_uncoated REAL NOT NULL,
                        r_dc_cu_coated REAL NOT NULL, r_dc_al REAL NOT NULL);

-- AC resistance and reactance (Chapter 9, Table 9), smallest size first: ohms to neutral per
-- 1000 ft at 75 C and 60 Hz, three single conductors in PVC, aluminum or steel conduit, and the
-- effective Z at 0.85 power factor; the aluminum cells of 14 AWG are empty.
CREATE TABLE Ch9Table9 (size TEXT NOT NULL, xl_pvc_al REAL NOT NULL, xl_steel REAL NOT NULL,
                        r_cu_pvc REAL NOT NULL, r_cu_al REAL NOT NULL, r_cu_steel REAL NOT NULL,
                        r_al_pvc REAL, r_al_al REAL, r_al_steel REAL,
                        z_cu_pvc_085 REAL NOT NULL, z_cu_al_085 REAL NOT NULL,
                        z_cu_steel_085 REAL NOT NULL,
                        z_al_pvc_085 REAL, z_al_al_085 REAL, z_al_steel_085 REAL);

-- Full-load currents of motors (Tables 430-148, single phase, and 430-150, three phase), smallest
-- horsepower first, written as the tables write it ("1/2", "1-1/2"): amperes at the rated motor
-- voltages; empty where the table has a dash.
CREATE TABLE Motor1Ph (hp TEXT NOT NULL, v115 REAL, v200 REAL, v208 REAL, v230 REAL);
CREATE TABLE Motor3Ph (hp TEXT NOT NULL, v115 REAL, v200 REAL, v208 REAL, v230 REAL, v460 REAL,
                       v575 REAL, v2300 REAL);

-- NEMA enclosure types, numbered from 1 without gaps, with five lines of description.
CREATE TABLE Enclosures (ID INTEGER PRIMARY KEY, Nema TEXT NOT NULL,
                         d1 TEXT, d2 TEXT, d3 TEXT, d4 TEXT, d5 TEXT);

-- The footnotes printed under results, by number.
CREATE TABLE FootNotes (ID INTEGER PRIMARY KEY, Notes TEXT NOT NULL);

-- Work tables, emptied at start: the wire panel's saved inputs, the conductors in the conduit,
-- and a scratch list of gauges.
CREATE TABLE KeepWires (Amps TEXT, Material INTEGER, Insul INTEGER, Wires TEXT, Temp TEXT);
CREATE TABLE DragList (WiresGa TEXT, WiresTy TEXT);
CREATE TABLE Scratch (Gauge TEXT);
