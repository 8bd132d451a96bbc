-- Ann's own logbook before an import: a day on the 16th with its note and one entry; her
-- insulin goes by pump.
update PREFERENCE set DELIVERY_CODE = 0;
insert into NOTE values (1, 0, 10, 1, 1, 'Ann''s own note');
insert into SAMPLE_DATE values (1, 0, 10, 0, '20070316', 1, 0, 0, 0, 0, 0, 1, 'F');
insert into SAMPLE values (1, 0, 10, 1, 0, '20070316120000', 0, 100, 0, 0, '', '', '', 'F', 0);
