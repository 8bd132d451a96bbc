-- On the old file: entries without a primary key, two of them sharing a key.
drop table SAMPLE;
create table SAMPLE ( PK INTEGER, FK INTEGER, SYNC_STATE INTEGER, SAMPLE_TIME TIMESTAMP );
insert into SAMPLE values (10, 0, 10, '20070315083000');
insert into SAMPLE values (10, 0, 10, '20070315120000');
