-- The demo SQLite database behind the data source "QuarrowDemo". ASCII only: the SQLite driver
-- hands UTF-8 bytes to the ANSI calls.
CREATE TABLE customers (
    id INTEGER PRIMARY KEY,
    name VARCHAR(40) NOT NULL,
    city VARCHAR(30),
    since DATE,
    credit NUMERIC(12, 2)
);
CREATE TABLE products (
    code CHAR(8) PRIMARY KEY,
    title VARCHAR(60) NOT NULL,
    price NUMERIC(10, 2) NOT NULL,
    stock INTEGER DEFAULT 0
);
CREATE TABLE orders (
    id INTEGER PRIMARY KEY,
    customer_id INTEGER NOT NULL REFERENCES customers(id),
    product_code CHAR(8) NOT NULL REFERENCES products(code),
    quantity INTEGER NOT NULL,
    ordered DATE,
    remark TEXT
);
CREATE INDEX orders_by_customer ON orders(customer_id);
CREATE VIEW order_totals AS
    SELECT c.name AS customer, SUM(o.quantity * p.price) AS total
    FROM orders o JOIN customers c ON c.id = o.customer_id JOIN products p ON p.code = o.product_code
    GROUP BY c.name;

INSERT INTO customers VALUES
    (1, 'Kovacs Eva', 'Gyor', '2015-03-12', 5000.00),
    (2, 'Szoke Odon', 'Pecs', '2017-07-21', 1200.50),
    (3, 'Toth Agnes', 'Szekesfehervar', '2019-02-05', 0),
    (4, 'Nagy Ferenc', 'Debrecen', '2012-09-30', 25000.00),
    (5, 'Horvath Zsuzsanna', 'Szeged', '2021-04-18', 800.00);
INSERT INTO products VALUES
    ('P-100', 'Ledger book, 200 pages', 1890.00, 120),
    ('P-200', 'Fountain pen', 7450.00, 35),
    ('P-300', 'Archive box', 990.00, 400),
    ('P-400', 'Desk lamp', 12900.00, 12);
INSERT INTO orders VALUES
    (1, 1, 'P-100', 10, '2026-01-15', 'Urgent'),
    (2, 1, 'P-300', 40, '2026-01-15', NULL),
    (3, 2, 'P-200', 2, '2026-02-02', 'Gift wrap'),
    (4, 4, 'P-400', 3, '2026-03-10', NULL),
    (5, 5, 'P-100', 5, '2026-03-11', NULL),
    (6, 3, 'P-300', 25, '2026-04-01', 'Deliver to the back door');
