' Question 603: the name "Zone" left on C4:C8.
' expect: B
#check
