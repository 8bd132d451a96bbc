-- Entries for the log export: a long dosage, one with characters beyond ASCII, an insulin time
-- without a dosage text, a dosage without insulin time, a removed entry, the hour the clocks
-- skipped in spring, a four-digit glucose value and one without a reading.
insert into SAMPLE (SYNC_STATE, SAMPLE_TIME, GLUCOSE_CNT, CARB_CNT, INSULIN_TIME, MEDICATION_DOSAGE, CORRECTION_DOSAGE) values
  (10, '20070316071500', 95, 0, '20070316072000', '4H 1Z 2Q 3W', ''),
  (10, '20070316120000', 1234, 60, '20070316120500', '', '2H'),
  (10, '20070315235900', 0, 5, '20070316000100', '12.5Ü 3.25Ö', '1.5H 10.25G'),
  (30, '20070317080000', 300, 999, '20070317080000', '9H', ''),
  (10, '20070310080000', 180, 20, '', '6H', ''),
  (99, '20070325023000', 101, 1, '20070325023000', '1H', '');
