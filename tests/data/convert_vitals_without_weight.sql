-- On a current file: synchronised vital records from before the weight was kept.
drop table BLOOD_PRESSURE;
create table BLOOD_PRESSURE ( PK INTEGER PRIMARY KEY, FK INTEGER, SYNC_STATE INTEGER, BP_TIME TIMESTAMP, SYSTOLIC INTEGER, DIASTOLIC INTEGER, PULSE INTEGER, NOTE_PK INTEGER );
insert into BLOOD_PRESSURE values (2, 0, 10, '20070301080000', 118, 79, 55, 0);
insert into BLOOD_PRESSURE values (5, 4, 30, '20070302080000', 140, 90, 80, 31);
