-- On a current file: no vital records table at all.
drop table BLOOD_PRESSURE;
