-- Another patient's logbook, written over a new database of that patient (which holds the
-- default slots, medications and foods). Rows come in every synchronisation state; notes
-- hang on days, entries and vital records; doses name codes the importing patient lacks.
delete from CARBS;
insert into CARBS (pk, fk, catagory, sync_state, carb_name, carb_cnt) values
  (5, 3, 2, 20, 'Rye bread 1 slice', 15),
  (9, 0, 1, 99, 'Porridge ''oats'' 1 cup', 27),
  (12, 4, 0, 30, 'Removed food', 99);
insert into NOTE (PK, FK, SYNC_STATE, NOTE_TYPE, OWNER_PK, TEXT) values
  (40, 7, 20, 1, 3, 'Sick day, stayed in bed'),
  (41, 0, 10, 0, 20, 'Felt low; O''Neil''s juice'),
  (42, 0, 10, 2, 8, 'After the walk'),
  (43, 0, 10, 1, 4, 'Source note of a day the patient already has'),
  (44, 0, 30, 0, 22, 'Note of a removed entry');
insert into SAMPLE_DATE (PK, FK, SYNC_STATE, SUMMARY_STATE, SAMPLE_DATE, DAY_TYPE_ID, TTL_CARB_CNT,
  AVG_GLUCOSE_CNT, TTL_SAMPLE_CNT, TTL_INSULIN_AMT, MAX_KEYTONE_CODE, NOTE_PK, NEW_SITE_BOL) values
  (3, 5, 20, 0, '20070315', 0, 1, 2, 3, 4, 4, 40, 'F'),
  (4, 0, 10, 0, '20070316', 2, 0, 0, 0, 0, 0, 43, 'F'),
  (6, 0, 10, 0, '20070320', 1, 0, 0, 0, 0, 0, 0, 'F');
insert into SAMPLE (PK, FK, SYNC_STATE, SAMPLE_DATE_PK, SAMPLE_TYPE_PK, SAMPLE_TIME, CARB_CNT,
  GLUCOSE_CNT, NOTE_PK, KEYTONE_CODE, INSULIN_TIME, MEDICATION_DOSAGE, CORRECTION_DOSAGE,
  NEW_SITE_BOL, DELIVERY_CODE) values
  (20, 9, 20, 3, 77, '20070315083000', 45, 120, 41, 2, '20070315083500', '5H 2X', '1.5H', 'T', 1),
  (21, 0, 99, 3, 77, '20070315123000', 60, 95, 0, 0, '', '', '', 'F', 2),
  (22, 3, 30, 3, 77, '20070315190000', 10, 300, 44, 4, '20070315190000', '9Y', '', 'F', 1),
  (23, 0, 10, 4, 77, '20070316071500', 0, 180, 0, 1, '20070316071500', '4H 1Z 2Q 3W', '', 'F', 1),
  (24, 0, 10, 99, 77, '20070318220000', 30, 0, 0, 0, '20070318220500', '', '2H', 'F', 1),
  (25, 0, 10, 4, 77, '20070316000500', 12, 64, 0, 0, '', '', '', 'F', 1),
  (26, 0, 10, 6, 77, '20070320113000', 0, 0, 0, 0, '', '3', '', 'F', 1);
insert into BLOOD_PRESSURE (PK, FK, SYNC_STATE, BP_TIME, SYSTOLIC, DIASTOLIC, PULSE, NOTE_PK,
  WEIGHT) values
  (8, 4, 20, '20070315080000', 130, 85, 70, 42, '81.5'),
  (9, 0, 30, '20070314080000', 150, 95, 80, 0, ''),
  (10, 0, 10, '20070316090000', 120, 80, 60, 0, '');
insert into A1C (pk, fk, sync_state, a1c_date, a1c_count) values
  (2, 1, 20, '20070301', '6.8'),
  (3, 0, 30, '20070201', '7.1'),
  (4, 0, 99, '20061201', '7.4');
